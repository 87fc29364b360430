// "Сохранить": the chart images, the schematic and the report.

#include "app/unit1.h"

void TForm1::Button10Click() {}

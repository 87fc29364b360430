#pragma once

#include "report/save_plan.h"

class QImage;
class QWidget;

// "Сохранить": the chart as a bitmap and as a metafile, the schematic of the last amplifier
// calculation (none when there was none) and the report, in this order, into the current
// directory. The first failure throws and ends the save; the files written before it stay.
void saveResults(const SavePlan &plan, QWidget *chart, const QImage *schematic);

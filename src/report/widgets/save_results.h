#pragma once

#include "report/save_plan.h"

class QImage;
class QWidget;

// "Сохранить": the chart as a bitmap and as a metafile, the schematic of the last amplifier
// calculation (none when there was none) and the report, into the current directory, all or
// none: a failure throws and leaves every old file as it was.
void saveResults(const SavePlan &plan, QWidget *chart, const QImage *schematic);

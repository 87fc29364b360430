#include "driver_load/widgets/driver_exports.h"

#include "driver_load/driver_load_export.h"
#include "ui/export_file.h"

void exportImpedance(QWidget *control, const SpeakerRun &run, const DriverLoadInputs &inputs) {
    exportFile(control, "Экспорт импеданса в ZMA",
               QString::fromStdString(impedanceFileName(inputs.box)), "Импеданс (*.zma)",
               zmaText(run, inputs));
}

void exportLevel(QWidget *control, const SpeakerRun &run, const DriverLoadInputs &inputs) {
    exportFile(control, "Экспорт уровня в FRD",
               QString::fromStdString(levelFrdFileName(run, inputs.box)), "АЧХ (*.frd)",
               levelFrdText(run, inputs));
}

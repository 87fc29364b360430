#include "driver_load/window_box.h"

#include "driver_load/driver_f3.h"
#include "driver_load/vented_response.h"

namespace {

constexpr double litresPerCubicMetre = 1000;
constexpr double centimetresPerMetre = 100;

} // namespace

std::optional<VentedBox> windowBox(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    if (inputs.box == BoxKind::Closed)
        return std::nullopt;
    return VentedBox{inputs.fb, inputs.ql, inputs.portDiameter / centimetresPerMetre,
                     run.vb / litresPerCubicMetre};
}

BoxPoint boxPoint(const DriverModel &model, const Coil &coil, const std::optional<VentedBox> &box,
                  double source, double f) {
    if (!box) {
        const DriverPoint point = driverPoint(model, coil, source, f);
        return {point, point, 0};
    }
    const VentedPoint point = ventedPoint(model, coil, *box, source, f);
    const DriverPoint &cone = point.driver;
    return {cone, {cone.z, cone.current, cone.motional * point.radiating}, portSpeed(*box, point)};
}

std::optional<double> boxF3(const DriverModel &model, const Coil &coil,
                            const std::optional<VentedBox> &box, double source) {
    return box ? ventedF3(model, coil, *box, source) : driverF3(model, coil, source);
}

DriverCircuit windowCircuit(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const std::optional<VentedBox> box = windowBox(run, inputs);
    return box ? ventedCircuit(driverModel(run, inputs), *box) : driverCircuit(run, inputs.le);
}

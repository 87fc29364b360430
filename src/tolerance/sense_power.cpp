#include "tolerance/sense_power.h"

#include "core/arithmetic_fault.h"

SensePower sensePower(double loadWatts, double rload, double rt) {
    return {quotient(loadWatts * rt, rload), quotient(rt, rload + rt) * 100};
}

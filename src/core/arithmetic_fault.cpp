#include "core/arithmetic_fault.h"

#include <cmath>

double checked(double x) {
    if (std::isnan(x))
        throw ArithmeticFault("Invalid floating point operation");
    if (std::isinf(x))
        throw ArithmeticFault("Floating point overflow");
    return x;
}

double quotient(double a, double b) {
    if (b == 0 && !std::isnan(a))
        throw ArithmeticFault(a == 0 ? "Invalid floating point operation"
                                     : "Floating point division by zero");
    return checked(a / b);
}

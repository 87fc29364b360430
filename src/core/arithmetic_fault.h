#pragma once

#include <stdexcept>

// A floating-point fault: a division by zero, an invalid operation or an overflow. The
// calculation stops there and the handler ends with the error report, so no inf or NaN is ever
// shown, stored or saved.
class ArithmeticFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// x itself, or an ArithmeticFault when it is NaN ("Invalid floating point operation") or
// infinite ("Floating point overflow").
double checked(double x);

// a / b, or an ArithmeticFault: b = 0 is "Floating point division by zero" (0/0 is an invalid
// operation), and an infinite or NaN quotient faults as `checked` does.
double quotient(double a, double b);

#pragma once

#include <complex>
#include <vector>

// Real polynomials, the constant coefficient first, for the few places where a response is
// easier to bound as a polynomial than to scan.
using Polynomial = std::vector<double>;

Polynomial sum(const Polynomial &a, const Polynomial &b);
Polynomial product(const Polynomial &a, const Polynomial &b);

double evaluate(const Polynomial &p, double x);
std::complex<double> evaluate(const Polynomial &p, std::complex<double> x);

// |p(jω)|² as a polynomial in u = ω².
Polynomial squaredMagnitude(const Polynomial &p);

// The points of [lo, hi] where p changes sign, ascending. The roots of p' split the interval into
// pieces on which p is monotonic, so none is passed over however close two lie; each is bisected
// to the last bit.
std::vector<double> signChanges(const Polynomial &p, double lo, double hi);

#include "driver_load/polynomial.h"

#include "core/arithmetic_fault.h"

#include <algorithm>

namespace {

int sign(double x) { return (x > 0) - (x < 0); }

Polynomial derivative(const Polynomial &p) {
    Polynomial d;
    for (std::size_t k = 1; k < p.size(); ++k)
        d.push_back(checked(double(k) * p[k]));
    return d;
}

} // namespace

Polynomial sum(const Polynomial &a, const Polynomial &b) {
    Polynomial s(std::max(a.size(), b.size()));
    for (std::size_t k = 0; k < s.size(); ++k)
        s[k] = checked((k < a.size() ? a[k] : 0) + (k < b.size() ? b[k] : 0));
    return s;
}

Polynomial product(const Polynomial &a, const Polynomial &b) {
    if (a.empty() || b.empty())
        return {};
    Polynomial p(a.size() + b.size() - 1);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            p[i + j] = checked(p[i + j] + a[i] * b[j]);
    return p;
}

double evaluate(const Polynomial &p, double x) {
    double value = 0;
    for (auto c = p.rbegin(); c != p.rend(); ++c)
        value = checked(value * x + *c);
    return value;
}

std::complex<double> evaluate(const Polynomial &p, std::complex<double> x) {
    std::complex<double> value = 0;
    for (auto c = p.rbegin(); c != p.rend(); ++c)
        value = value * x + *c;
    return value;
}

Polynomial squaredMagnitude(const Polynomial &p) {
    // p(jω)·p(−jω): the terms p_i·p_j·j^i·(−j)^j with i + j = 2k give (−1)^(k+j)·p_i·p_j·u^k; the
    // odd powers of ω cancel.
    Polynomial m(p.empty() ? 0 : p.size());
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = i % 2; j < p.size(); j += 2) {
            const std::size_t k = (i + j) / 2;
            m[k] = checked(m[k] + ((k + j) % 2 ? -1 : 1) * p[i] * p[j]);
        }
    return m;
}

std::vector<double> signChanges(const Polynomial &p, double lo, double hi) {
    Polynomial trimmed = p;
    while (!trimmed.empty() && trimmed.back() == 0)
        trimmed.pop_back();
    if (trimmed.size() < 2)
        return {};
    std::vector<double> ends{lo};
    for (const double x : signChanges(derivative(trimmed), lo, hi))
        ends.push_back(x);
    ends.push_back(hi);

    std::vector<double> roots;
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        double a = ends[k], b = ends[k + 1];
        const int atA = sign(evaluate(trimmed, a));
        if (atA * sign(evaluate(trimmed, b)) >= 0)
            continue;
        for (double middle = a + (b - a) / 2; a < middle && middle < b; middle = a + (b - a) / 2)
            (sign(evaluate(trimmed, middle)) == atA ? a : b) = middle;
        roots.push_back(b);
    }
    return roots;
}

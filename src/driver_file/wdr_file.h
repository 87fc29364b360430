#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Loudspeaker driver files as WinISD keeps them (.wdr): an INI-style text with a [Driver]
// section of Key=Value lines, SI units and a decimal point.

// A driver in the file's SI units. Qms is the file's, or derived from its Qts and Qes.
struct DriverFile {
    std::string brand, model;                         // UTF-8
    double fs = 0, re = 0, qms = 0, qes = 0, vas = 0; // Hz, Ω, —, —, m³
    std::optional<double> le, sd, xmax, pe;           // H, m², m, W; none where the file has 0
    bool operator==(const DriverFile &) const = default;
};

// Either the whole driver or, in Russian, why the file cannot be used (the caller puts the
// file's name in front: "<name>: <whyNot>").
struct DriverFileRead {
    std::optional<DriverFile> driver;
    std::string whyNot;
};

// Larger files are refused unread; the caller need read no more than one byte beyond this.
inline constexpr std::size_t driverFileLimit = 1 << 20;

DriverFileRead readWdr(std::string_view bytes);

// The file for a driver whose values are positive and finite: [Driver] first, CR LF line ends,
// Brand and Model as UTF-8 on one line each, every number in fixed point with the fewest digits
// that read back as the same double, Qts from Qms and Qes, the optional values where known.
std::string wdrText(const DriverFile &driver);

// The values the window shows, in the order the file is written.
enum class DriverValue { Fs, Re, Qms, Qes, Vas, Le, Sd, Xmax, Pe };
inline constexpr std::array driverValues{DriverValue::Fs,  DriverValue::Re,   DriverValue::Qms,
                                         DriverValue::Qes, DriverValue::Vas,  DriverValue::Le,
                                         DriverValue::Sd,  DriverValue::Xmax, DriverValue::Pe};

std::string_view wdrKey(DriverValue value);
std::optional<double> valueOf(const DriverFile &driver, DriverValue value); // SI

// Between the file's SI unit and the field's (Vas l, Le mH, Sd cm², Xmax mm; the others alike),
// shifting the decimal digits, so that 0.0003 H becomes exactly 0.3 mH and 159.388 l exactly
// 0.159388 m³. Beyond the double range the result stops at the largest double.
double toFieldUnit(DriverValue value, double si);
double toFileUnit(DriverValue value, double inFieldUnit);

// A value as a field of the window shows it: at most six significant digits, decimal comma, no
// trailing zeros, never an exponent ("23,5688", "159,388", "1234570").
std::string fieldText(double value);

// The outcome of a calculator routine: a set of bits. Success is bit 31 alone, or with the
// custom-fluid bit (the user's own density stands); a failure is exactly one of the low bits.
// A result row keeps the single failure bits as its error ids.
#pragma once

#include <cstdint>
#include <string>

typedef std::uint32_t CalcResult;

constexpr CalcResult CALC_OK = 0x80000000u;
constexpr CalcResult CALC_NOT_ENOUGH_DATA = 0x00000001u;
constexpr CalcResult CALC_INVALID_DATA = 0x00000002u;
constexpr CalcResult CALC_CUSTOM_FLUID = 0x00000004u;
constexpr CalcResult CALC_DENSITY_UNIT_ERROR = 0x00000008u;
constexpr CalcResult CALC_NO_Z_FACTOR = 0x00000010u;
constexpr CalcResult CALC_NO_FLUID = 0x00000020u;
constexpr CalcResult CALC_VELOCITY_UNIT_ERROR = 0x00000040u;
constexpr CalcResult CALC_NO_REYNOLDS = 0x00000080u;
constexpr CalcResult CALC_DATABASE_ERROR = 0x00000100u;

inline bool IsCalculationOk(CalcResult code)
{
    return (code & CALC_OK) != 0;
}

// "Ok" when bit 31 is set, then the text of every set bit from 0x1 to 0x100, each in the
// language (empty = current) and followed by the separator, the last one too. Other bits have
// no text; a code without known bits gives an empty text.
std::string GetCalculationErrorText(CalcResult code, const std::string& separator,
                                    const std::string& language = std::string());

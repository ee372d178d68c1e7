#include "HarbinaxCore/ComboItemMarker.h"

namespace {

const std::wstring kUserUnitMark = L"* ";
const std::wstring kPseudoUnitMark = L"!!";

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

SMarkedComboItem ClassifyComboItem(const std::wstring& text)
{
    if (StartsWith(text, kUserUnitMark))
        return {EComboItemMarker::UserUnit, text};
    if (StartsWith(text, kPseudoUnitMark))
        return {EComboItemMarker::PseudoUnit, text.substr(kPseudoUnitMark.size())};
    return {EComboItemMarker::None, text};
}

SMarkerColour MarkerColour(EComboItemMarker marker)
{
    switch (marker) {
    case EComboItemMarker::UserUnit:
        return {0xFF, 0x32, 0x32};
    case EComboItemMarker::PseudoUnit:
        return {0xE8, 0xA6, 0x08};
    case EComboItemMarker::None:
        break;
    }
    return {0, 0, 0};
}

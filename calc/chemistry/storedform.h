#pragma once

#include "ions.h"

#include "data/owntables.h"

#include <optional>

namespace Chemistry {

// The form of plain N a properties row stores, as the chemistry reads it; nitrate when unset.
inline NitrogenForm nitrogenFormOf(const std::optional<::NitrogenForm> &stored)
{
    switch (stored.value_or(::NitrogenForm::Nitrate)) {
    case ::NitrogenForm::Ammonium:
        return NitrogenForm::Ammonium;
    case ::NitrogenForm::Urea:
        return NitrogenForm::Urea;
    case ::NitrogenForm::Nitrate:
        break;
    }
    return NitrogenForm::Nitrate;
}

} // namespace Chemistry

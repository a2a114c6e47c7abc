// The address checks of the Network Setting page.
#pragma once

#include <cstdint>

#include "setup/settings/control_surface.h"

namespace odc {

// Results of CheckIpAddress.
constexpr int kIpBadFirstOctet = 0;
constexpr int kIpZeroLastOctet = 3;
constexpr int kIpValid = 4;

// The first octet must be 1-126 or 128-254 and the last one not 0; shows
// the range message of the first rule broken. Returns one of the results
// above.
int CheckIpAddress(ControlSurface& s, const uint8_t address[4]);
// 1 when all four fields of the address control are filled, or when
// `earlier` (a CheckIpAddress result) was already reported; otherwise the
// 0-255 message and 0.
int CheckIpComplete(ControlSurface& s, int id, int earlier);

}  // namespace odc

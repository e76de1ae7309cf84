// The role under which models and item lists keep the cp932 bytes of the
// texts they show decoded.
#pragma once

#include <Qt>

namespace teluri {

inline constexpr int kBytesRole = Qt::UserRole;

}  // namespace teluri

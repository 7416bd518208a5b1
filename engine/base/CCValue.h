#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace kvengine {

/// A reference-counted box around one plain value (int, float or CCPoint), mostly a notification
/// payload or an array element. The maker owns the one reference it starts with. Reports
/// "CCObject" as its class name and cannot be copied.
template <typename T> class CCValue : public CCObject {
public:
    explicit CCValue(const T& value_) : value(value_) {}
    T value;
};

} // namespace kvengine

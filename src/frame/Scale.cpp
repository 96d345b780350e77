#include "frame/Scale.h"

namespace {
// Division rounded toward negative infinity, for a positive divisor.
long long FloorDivide(long long value, long long divisor) {
    const long long quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}
} // namespace

int ScaleToDpi(int value, int dpi) {
    if (dpi == DesignDpi || dpi <= 0) return value;
    return static_cast<int>(FloorDivide(static_cast<long long>(value) * dpi, DesignDpi));
}

int DesignLengthAt(int length, int dpi) {
    if (dpi == DesignDpi || dpi <= 0) return length;
    return static_cast<int>(-FloorDivide(-static_cast<long long>(length) * DesignDpi, dpi));
}

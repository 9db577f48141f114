#include "app/child_layout.h"

#include <climits>

namespace {

int ScaleEdge(int edge, double factor)
{
    double scaled = edge / factor;
    if (scaled >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (scaled <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(scaled);  // truncates toward zero
}

}  // namespace

bool ComputeScaleFactors(int clientWidth, int clientHeight, int designWidth, int designHeight, ScaleFactors& factors)
{
    if (clientWidth <= 0 || clientHeight <= 0 || designWidth <= 0 || designHeight <= 0) return false;
    factors.horizontal = static_cast<double>(clientWidth) / designWidth;
    factors.vertical = static_cast<double>(clientHeight) / designHeight;
    return true;
}

ChildRect ScaleChildRect(const ChildRect& rect, const ScaleFactors& factors)
{
    return ChildRect{ScaleEdge(rect.left, factors.horizontal), ScaleEdge(rect.top, factors.vertical),
                     ScaleEdge(rect.right, factors.horizontal), ScaleEdge(rect.bottom, factors.vertical)};
}

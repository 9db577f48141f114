#include "app/results_list_win.h"

#include "base/gdi.h"
#include "base/scan_state.h"
#include "framework/list_box.h"

namespace {

constexpr int kClearAtLines = 150;
constexpr int kExtentThreshold = 560;

// The widest line in pixels, measured in the list box's device context as it comes (the list's own font is
// deliberately not selected into it).
int WidestLine(const ListBox& list)
{
    ClientDC dc(list.Handle());
    if (!dc) return 0;
    int widest = 0;
    char text[kResultLineSize];
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        int length = list.TextLength(i);
        if (length < 0 || length >= static_cast<int>(sizeof text) || list.Text(i, text) == LB_ERR) continue;
        SIZE size;
        if (GetTextExtentPoint32A(dc.Get(), text, length, &size) && size.cx > widest) widest = size.cx;
    }
    return widest;
}

}  // namespace

void AppendResultLine(HWND resultsList)
{
    const ListBox list(resultsList);
    if (list.Count() >= kClearAtLines && KeepResults == 0) list.Clear();
    list.Add(Scan.resultLine);

    const int count = list.Count();
    if (count > 2) list.Select(count - 1);

    // After a clearing, the widest line left may be narrower than one seen before but still wider than the
    // extent: the extent grows only, so lines scrolled away stay reachable by the same scroll range.
    const int widest = WidestLine(list);
    const int wanted = 3 * widest / 4;
    if (widest > kExtentThreshold && wanted > list.HorizontalExtent()) list.SetHorizontalExtent(wanted);
}

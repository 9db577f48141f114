#include "app/window_states.h"

#include "resources/resource_ids.h"

namespace {

constexpr int kCancel = 2;

constexpr ControlChange Hide(int id)
{
    return {id, Enabling::Keep, Visibility::Hide};
}
constexpr ControlChange Show(int id)
{
    return {id, Enabling::Keep, Visibility::Show};
}

constexpr ControlChange kReady[] = {
    Hide(IDC_STATUS_LINE),
    Hide(IDC_STATUS_FRAME),
    Hide(IDC_SEARCHING_FOR),
    Hide(IDC_RESULTS_LIST),
    Hide(IDC_RESULTS_FRAME),
    Hide(kCancel),
    {IDC_OK_BUTTON, Enabling::Disable, Visibility::Hide},
};

// The product page is offered by DOWNLOAD (left visible, showing its disabled picture) and the banner (gone).
constexpr ControlChange kProductInstalled[] = {
    {IDC_PRODUCT_BANNER, Enabling::Disable, Visibility::Hide},
    {IDC_DOWNLOAD, Enabling::Disable, Visibility::Keep},
};

constexpr ControlChange kProductNotInstalled[] = {Hide(IDC_INSTALLED_NOTE)};

constexpr ControlChange kScanStarted[] = {
    {IDC_SCAN, Enabling::Disable, Visibility::Keep},
    {IDC_REMOVAL_TOOLS_BANNER, Enabling::Disable, Visibility::Hide},
    {IDC_PRODUCT_BANNER, Enabling::Disable, Visibility::Hide},
    {kCancel, Enabling::Enable, Visibility::Show},
    {IDC_OK_BUTTON, Enabling::Enable, Visibility::Keep},  // enabled now, shown when the scan ends
    Hide(IDC_DESCRIPTION),
    Hide(IDC_INSTALLED_NOTE),
    Hide(IDC_COPYRIGHT),
    Show(IDC_SEARCHING_FOR),
    Show(IDC_RESULTS_LIST),
    Show(IDC_STATUS_LINE),
    Show(IDC_STATUS_FRAME),
    Show(IDC_RESULTS_FRAME),
};

constexpr ControlChange kTerminateConfirmed[] = {Hide(kCancel), Show(IDC_OK_BUTTON)};

constexpr ControlChange kScanFinished[] = {Hide(kCancel), Show(IDC_OK_BUTTON), Hide(IDC_SEARCHING_FOR)};

template <size_t N>
constexpr ControlChanges All(const ControlChange (&changes)[N])
{
    return {changes, N};
}

}  // namespace

ControlChanges ChangesFor(WindowStep step)
{
    switch (step) {
    case WindowStep::Ready:
        return All(kReady);
    case WindowStep::ProductInstalled:
        return All(kProductInstalled);
    case WindowStep::ProductNotInstalled:
        return All(kProductNotInstalled);
    case WindowStep::ScanStarted:
        return All(kScanStarted);
    case WindowStep::TerminateConfirmed:
        return All(kTerminateConfirmed);
    case WindowStep::ScanFinished:
        return All(kScanFinished);
    }
    return {nullptr, 0};
}

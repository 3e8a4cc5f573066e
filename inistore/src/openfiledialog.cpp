#include "txini/openfiledialog.h"

#include <mutex>
#include <utility>

namespace txini {

namespace {

// The host installs its dialog from whatever thread it starts on while a store may already be
// showing the previous one: the slot is guarded, and callers keep their own reference.
std::mutex &installMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<OpenFileDialog> &installedSlot()
{
    static std::shared_ptr<OpenFileDialog> dialog;
    return dialog;
}

} // namespace

OpenFileDialog::~OpenFileDialog() = default;

void installOpenFileDialog(std::shared_ptr<OpenFileDialog> pDialog)
{
    std::shared_ptr<OpenFileDialog> previous;
    {
        const std::lock_guard lock(installMutex());
        previous = std::exchange(installedSlot(), std::move(pDialog));
    }
    // The previous dialog, if this was its last reference, goes outside the lock.
}

std::shared_ptr<OpenFileDialog> installedOpenFileDialog()
{
    const std::lock_guard lock(installMutex());
    return installedSlot();
}

} // namespace txini

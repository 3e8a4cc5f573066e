#pragma once

// The open-file dialog the library shows through clsFileIni. The library has no user interface
// of its own: the host installs a dialog (a Qt one in Pindrel, a scripted one in tests). With
// none installed, every dialog reports cancellation.

#include <cstdint>
#include <memory>
#include <string>

#include "txini/export.h"

namespace txini {

// The open-file record, field for field as the platform's 76-byte layout holds it. The three
// text buffers are fixed-size and NUL-padded (capacity maxFile etc.), the filter is in the
// platform's form (entries separated by NUL, closed by two NULs).
struct OpenFileName
{
    int32_t hwndOwner = 0;
    std::string filter;
    int32_t filterIndex = 0;
    std::string file;
    uint32_t maxFile = 260;
    std::string fileTitle;
    uint32_t maxFileTitle = 260;
    std::string initialDir;
    std::string title;
    int32_t flags = 0;
    uint16_t fileOffset = 0;
    uint16_t fileExtension = 0;
    std::string defaultExt;
};

inline constexpr int32_t kOfnAllowMultiSelect = 0x200;

class TXINI_EXPORT OpenFileDialog
{
public:
    virtual ~OpenFileDialog();
    // Shows the dialog. On success writes the chosen file (and, where it can, the title and
    // folder) into the record's buffers and returns true; false when cancelled or failed.
    virtual bool getOpenFileName(OpenFileName &pRecord) = 0;
};

// Installs the dialog used from now on (nullptr removes it). Thread-safe.
TXINI_EXPORT void installOpenFileDialog(std::shared_ptr<OpenFileDialog> pDialog);
TXINI_EXPORT std::shared_ptr<OpenFileDialog> installedOpenFileDialog();

} // namespace txini

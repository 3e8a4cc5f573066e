#pragma once

// The INI store library's open-file dialog (txini::OpenFileDialog) as Qt's file dialog, so
// that clsFileIni::ShowOpen and clsIni::doSeleccionarArchivo ask the user in the program.
//
// From the record: the title (Qt's own when empty), the folder to start in (the file's folder
// when the record names a file with a folder, else the current folder), the file to preselect,
// the filters ("description", NUL, "pattern" pairs; patterns separated by ";"; "*.*" is every
// file) with the one at the 1-based filter index selected (the first for 0 or an index past the
// end), several files at once when OFN_ALLOWMULTISELECT is set. Into the record, each closed
// by a NUL over the start of its buffer: the chosen path (for several files, the folder and
// then each name, NUL-separated, closed by two NULs), the file's name alone, the folder it is
// in, the 1-based index of the filter in use and the offsets of the name and of its extension.
// A choice that does not fit its buffer fails, as the platform's dialog does. Names are the
// file system's exact bytes (see platform/filenamecodec.h).
//
// The owner is the top-level window whose native id is the record's hwndOwner, else the active
// window. User-interface thread only.

#include "txini/openfiledialog.h"

#include <QStringList>

class QFileDialog;

namespace pindrel {

class QtOpenFileDialog : public txini::OpenFileDialog
{
public:
    bool getOpenFileName(txini::OpenFileName &pRecord) override;

    // The Qt name filters of a filter in the record's form, and how the dialog is set up for
    // pRecord; for tests.
    static QStringList nameFilters(const std::string &pFilter);
    static void prepare(QFileDialog &pDialog, const txini::OpenFileName &pRecord);
    // Writes the chosen files (one, or several with multiple selection) into pRecord's buffers;
    // false, with the buffers left as they were, when the result does not fit.
    static bool fill(txini::OpenFileName &pRecord, const QStringList &pFiles, int pFilterIndex);
};

} // namespace pindrel

#pragma once

// One run of the `txini` command-line tool: reads, writes, deletes and lists the values of one
// INI file through the store object (clsIni).
//
//   txini FILE get SECTION KEY          prints the value and a line end
//   txini FILE set SECTION KEY VALUE    writes the value (spaces at both ends are dropped)
//   txini FILE delete SECTION [KEY]     removes the key, or the whole section
//   txini FILE sections                 prints the section names, one a line
//   txini FILE keys SECTION             prints the key names of the section, one a line
//   txini FILE exists SECTION [KEY]     prints nothing; the exit status tells
//   txini --help | -h                   prints the usage on the output stream
//
// Exit status: Success (0) when the item was found or the change was made, NotFound (1) when
// the file, section or key is missing or a write did not take, Usage (2) for bad arguments.
// Results go to the output stream; every failure writes exactly one line starting with
// "txini: " to the error stream (except `exists`, which is silent about what it finds). A FILE
// that does not exist reads as empty; `set` creates it. A FILE that is a folder, or anything
// else but a regular file, is an error for every command (NotFound, with a message). `set`
// refuses, with Usage, a SECTION or KEY that would not read back as itself
// (txini/namerules.h); when it reports NotFound the file is as it was.

#include <ostream>
#include <string>
#include <vector>

namespace txini {

class _clsIni;

class IniCommand
{
public:
    enum ExitStatus : int {
        Success = 0,
        NotFound = 1,
        Usage = 2,
    };

    // Both streams must outlive the object.
    IniCommand(std::ostream &pOut, std::ostream &pErr);

    // Runs the command given by pArguments (the command line without the program name) and
    // returns the exit status. Never throws.
    int run(const std::vector<std::string> &pArguments);

    // The usage text printed by --help.
    static std::string usage();

    // What reading back a value written by `set` gives when the write took: the store drops
    // spaces at both ends on writing; the file's reader trims blanks (space, tab, vertical
    // tab) and removes one pair of enclosing quotes. The store reads values whole.
    static std::string expectedReadBack(const std::string &pValue);

private:
    int runCommand(const std::vector<std::string> &pArguments);

    int doGet(_clsIni &pIni, const std::string &pSection, const std::string &pKey);
    int doSet(_clsIni &pIni, const std::string &pSection, const std::string &pKey,
              const std::string &pValue);
    int doDelete(_clsIni &pIni, const std::string &pSection, const std::string *pKey);
    int doSections(_clsIni &pIni);
    int doKeys(_clsIni &pIni, const std::string &pSection);
    int doExists(_clsIni &pIni, const std::string &pSection, const std::string *pKey);

    // Writes "txini: " + pMessage as one line to the error stream and returns pStatus.
    int fail(int pStatus, const std::string &pMessage);
    // The "not found" failure, naming the file when it is the file that is missing.
    int notFound(const std::string &pWhat);
    bool fileExists() const;

    std::ostream &m_out;
    std::ostream &m_err;
    std::string m_file;
};

} // namespace txini

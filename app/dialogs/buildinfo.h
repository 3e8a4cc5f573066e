#pragma once

// What the build tells the program about itself: its version (the project's version, major,
// minor and revision), the maker's web page (the build setting PINDREL_WEBSITE_URL) and the
// platforms this build runs on.

#include <QString>
#include <QUrl>

namespace pindrel {

struct ProgramVersion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
};

ProgramVersion programVersion();

// The address "Visit our website" and the about box's link open.
QUrl websiteUrl();

// The about box's platform line, "For " and the platforms this build runs on.
QString platformLine();

} // namespace pindrel

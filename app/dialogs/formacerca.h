#pragma once

// The about box: product name, version and revision, the platforms this build runs on, a
// notice, the maker's line and a link to the maker's web page, in a fixed window without a
// title bar, centred on the screen and kept above other windows.
//
// Labels: "Version <major>.<minor>"; "Revision <n>", or "Beta version" for revision 0.
//
// The link: moving the pointer onto it turns it red, moving it over the rest of the box (the
// window or any other label or picture) gives it the button-text colour again; each change
// happens once per crossing (the box keeps a flag telling that the link shows its normal
// colour, false when it opens). Clicking it opens the web page through the shell and leaves
// the box open.
//
// Closing: a key press (a modifier key alone is not one), a mouse button pressed or released
// on the window, or a click on any label or picture other than the link.

#include "dialogs/buildinfo.h"

#include <QDialog>
#include <QUrl>

class QLabel;

namespace pindrel {

namespace platform {
class Shell;
}

class FormAcerca : public QDialog
{
    Q_OBJECT

public:
    // pShell opens the link (null: the link opens nothing).
    FormAcerca(platform::Shell *pShell, const ProgramVersion &pVersion, const QUrl &pWebsite,
               QWidget *pParent = nullptr);
    ~FormAcerca() override;

    QLabel *lblProductName() const { return m_lblProductName; }
    QLabel *lblVersion() const { return m_lblVersion; }
    QLabel *lblRev() const { return m_lblRev; }
    QLabel *lblPlatform() const { return m_lblPlatform; }
    QLabel *lblCopyright() const { return m_lblCopyright; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label16() const { return m_label16; }
    QLabel *lblVersion2() const { return m_lblVersion2; }
    QLabel *link() const { return m_link; }
    QLabel *imgLogo() const { return m_imgLogo; }
    QLabel *ImageEmpresas() const { return m_imageEmpresas; }

    // The texts of the version and revision labels for pVersion.
    static QString versionText(const ProgramVersion &pVersion);
    static QString revisionText(const ProgramVersion &pVersion);

    // The link's current text colour.
    QColor linkColor() const;

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;
    void showEvent(QShowEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;

private:
    QLabel *addLabel(const QString &pName, const QString &pText);
    void buildControls();
    void setLinkColor(const QColor &pColor);
    void pointerOverLink();
    void pointerElsewhere();
    void link_Click();

    platform::Shell *m_shell;
    ProgramVersion m_version;
    QUrl m_website;
    // True while the link shows its normal (button-text) colour.
    bool m_linkNormal = false;

    QLabel *m_lblProductName = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblRev = nullptr;
    QLabel *m_lblPlatform = nullptr;
    QLabel *m_lblCopyright = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label16 = nullptr;
    QLabel *m_lblVersion2 = nullptr;
    QLabel *m_link = nullptr;
    QLabel *m_imgLogo = nullptr;
    QLabel *m_imageEmpresas = nullptr;
};

} // namespace pindrel

// The control's persisted state: one list of properties, run to load, save or reset.

#include "vexlo/vexloctrl.h"

#include "propertyexchange.h"
#include "vexlo/identifiers.h"
#include "vexlo/namespacecombobox.h"

#include <QtWidgets/QApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vexlo {

namespace {

// The extents are kept in HIMETRIC units (0.01 mm), as containers expect them.
int32_t toHimetric(int pPixels, int pDpi)
{
    return static_cast<int32_t>(std::lround(pPixels * 2540.0 / pDpi));
}

int fromHimetric(int32_t pHimetric, int pDpi)
{
    return static_cast<int>(std::lround(pHimetric * pDpi / 2540.0));
}

} // namespace

QFont CVexloCtrl::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void CVexloCtrl::doPropExchange(PropertyExchange &pExchange)
{
    // What the control framework keeps first: the version stamp, the extents and the stock
    // properties (none; the font is the control's own below).
    int32_t version = kPersistedVersion;
    pExchange.exchange(QStringLiteral("_Version"), version, kPersistedVersion);
    int32_t extentX = toHimetric(width(), logicalDpiX());
    int32_t extentY = toHimetric(height(), logicalDpiY());
    pExchange.exchange(QStringLiteral("_ExtentX"), extentX,
                       toHimetric(kInitialWidth, logicalDpiX()));
    pExchange.exchange(QStringLiteral("_ExtentY"), extentY,
                       toHimetric(kInitialHeight, logicalDpiY()));
    int32_t stockProperties = 0;
    pExchange.exchange(QStringLiteral("_StockProps"), stockProperties, 0);

    QFont currentFont = font();
    pExchange.exchange(QStringLiteral("Enabled"), m_enabled, true);
    pExchange.exchange(QStringLiteral("DropDownLines"), m_dropDownLines, int16_t{8});
    pExchange.exchange(QStringLiteral("AutoComplete"), m_autoComplete, true);
    pExchange.exchange(QStringLiteral("Font"), currentFont, ambientFont());
    pExchange.exchange(QStringLiteral("Indent"), m_indent, int16_t{1});
    pExchange.exchange(QStringLiteral("IncludeUrls"), m_includeUrls, true);
    pExchange.exchange(QStringLiteral("AutoUpdate"), m_autoUpdate, true);
    pExchange.exchange(QStringLiteral("ShowFile"), m_showFile, false);
    pExchange.exchange(QStringLiteral("ShowOverlayIcons"), m_showOverlayIcons, true);
    pExchange.exchange(QStringLiteral("ShowVirtualFolders"), m_showVirtualFolders, true);
    pExchange.exchange(QStringLiteral("ShowFullPath"), m_showFullPath, false);
    pExchange.exchange(QStringLiteral("TooltipType"), m_tooltipType, int32_t{3});
    pExchange.exchange(QStringLiteral("ShowDrivesOnly"), m_showDrivesOnly, false);

    if (pExchange.direction() == PropertyExchange::Direction::Save)
        return;
    // Loaded or reset: what the live window shows follows. The font of the container is taken
    // by inheritance, so that a later change of the container's font reaches the control.
    if (currentFont == ambientFont())
        setFont(QFont());
    else
        setFont(currentFont);
    resize(fromHimetric(extentX, logicalDpiX()), fromHimetric(extentY, logicalDpiY()));
    applyOptions();
    if (m_list) {
        m_list->setEnabled(m_enabled);
        applyDropDownHeight(closedHeight());
    }
}

// --- the persisted properties as a form sets them ---------------------------------------------
//
// A form sets its properties before the control is shown, as a container loads the persisted
// state: what only acts when the window is created is stored, and nothing raises at run time.

void CVexloCtrl::setDropDownLines(int pValue)
{
    DropDownLines(static_cast<int16_t>(std::clamp<int>(pValue, INT16_MIN, INT16_MAX)));
}

void CVexloCtrl::setAutoComplete(bool pValue)
{
    AutoComplete(pValue);
    m_modified = true;
}

void CVexloCtrl::setIndent(int pValue)
{
    Indent(static_cast<int16_t>(std::clamp<int>(pValue, INT16_MIN, INT16_MAX)));
    m_modified = true;
}

void CVexloCtrl::setIncludeUrls(bool pValue)
{
    IncludeUrls(pValue);
    m_modified = true;
}

void CVexloCtrl::setShowVirtualFolders(bool pValue)
{
    m_showVirtualFolders = pValue;
    applyOptions();
    m_modified = true;
}

void CVexloCtrl::setShowDrivesOnly(bool pValue)
{
    if (pValue == m_showDrivesOnly)
        return;
    m_showDrivesOnly = pValue; // acts when the window is next created
    m_modified = true;
}

void CVexloCtrl::loadProperties(const PropertyBag &pBag)
{
    PropertyExchange exchange = PropertyExchange::loading(pBag);
    doPropExchange(exchange);
    m_modified = false;
}

void CVexloCtrl::saveProperties(PropertyBag &pBag, bool pClearDirty)
{
    PropertyExchange exchange = PropertyExchange::saving(pBag);
    doPropExchange(exchange);
    if (pClearDirty)
        m_modified = false;
}

void CVexloCtrl::resetProperties()
{
    PropertyExchange exchange = PropertyExchange::resetting();
    doPropExchange(exchange);
    m_modified = false;
}

} // namespace vexlo

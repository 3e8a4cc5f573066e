#include "vexlo/propertybag.h"

#include <QtGui/QFont>

#include <limits>

namespace vexlo {

namespace {

std::optional<qlonglong> integerOf(const QVariant &pValue)
{
    switch (pValue.typeId()) {
    case QMetaType::Bool:
        return pValue.toBool() ? -1 : 0; // the automation True
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return pValue.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong value = pValue.toULongLong();
        if (value > static_cast<qulonglong>(std::numeric_limits<qlonglong>::max()))
            return std::nullopt;
        return static_cast<qlonglong>(value);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qlonglong value = pValue.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qlonglong>(value) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

PropertyBag::~PropertyBag() = default;

std::optional<QVariant> PropertyBag::coerce(const QVariant &pValue, PropertyKind pKind)
{
    switch (pKind) {
    case PropertyKind::Boolean: {
        if (pValue.typeId() == QMetaType::QString) {
            const QString text = pValue.toString().trimmed();
            if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
                return QVariant(true);
            if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
                return QVariant(false);
        }
        const std::optional<qlonglong> number = integerOf(pValue);
        if (!number)
            return std::nullopt;
        return QVariant(*number != 0);
    }
    case PropertyKind::Integer16: {
        const std::optional<qlonglong> number = integerOf(pValue);
        if (!number || *number < std::numeric_limits<qint16>::min()
            || *number > std::numeric_limits<qint16>::max())
            return std::nullopt;
        return QVariant::fromValue(static_cast<qint16>(*number));
    }
    case PropertyKind::Integer32: {
        const std::optional<qlonglong> number = integerOf(pValue);
        if (!number || *number < std::numeric_limits<qint32>::min()
            || *number > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return QVariant::fromValue(static_cast<qint32>(*number));
    }
    case PropertyKind::Font: {
        if (pValue.typeId() == QMetaType::QFont)
            return pValue;
        if (pValue.typeId() != QMetaType::QString)
            return std::nullopt;
        QFont font;
        if (!font.fromString(pValue.toString()))
            return std::nullopt;
        return QVariant(font);
    }
    }
    return std::nullopt;
}

} // namespace vexlo

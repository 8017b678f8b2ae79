#include "reference/ReferenceList.h"

#include "common/FileEncoding.h"
#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/TextRules.h"

#include <QFile>
#include <QStringView>

namespace {

QString cityEntry(const QString &line)
{
    return QStringLiteral("%1=%2").arg(line.left(3), trimmed(line.mid(3)));
}

} // namespace

void ReferenceList::loadCityFile(const QString &path)
{
    load(path, LineForm::City);
}

void ReferenceList::loadAirFile(const QString &path)
{
    load(path, LineForm::Airline);
}

void ReferenceList::load(const QString &path, LineForm form)
{
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KestranoError(Messages::cannotOpen(path, Messages::fileReason(file, path)));
    const QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString failure = Messages::cannotRead(path, Messages::fileReason(file, path));

    // A line ends at a line feed; a carriage return before it is not part of
    // the line, one anywhere else is.
    const QString text = decodeFileText(bytes);
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (QStringView line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        m_entries.append(form == LineForm::City ? cityEntry(line.toString())
                                                : trimmed(line.toString()));
    }
    if (readFailed)
        throw KestranoError(failure);
}

QString ReferenceList::lookup(const QString &code) const
{
    for (const QString &entry : m_entries) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals >= 0 && QStringView(entry).left(equals).compare(code, Qt::CaseInsensitive) == 0)
            return entry.mid(equals + 1);
    }
    return {};
}

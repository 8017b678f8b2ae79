#include "register/RegisterExport.h"

#include "common/CsvText.h"
#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/SafeSave.h"
#include "print/PrintJournal.h"
#include "register/RegisterAddress.h"
#include "register/RegisterStore.h"
#include "settings/Settings.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <memory>

namespace {

constexpr int connectSeconds = 10;

std::vector<QStringList> serverRows(const QString &uri)
{
    const std::optional<RegisterAddress> address = RegisterAddress::parse(uri);
    if (!address)
        throw KestranoError(
            Messages::registerAddressInvalid(RegisterAddress::withoutUserInfo(uri)));
    const QString connection = QStringLiteral("register-export");
    std::vector<QStringList> rows;
    {
        QSqlDatabase db = address->addConnection(connection, connectSeconds);
        const auto close = qScopeGuard([&] {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection);
        });
        address->open(db);
        RegisterStore store(db, RegisterStore::Kind::Shared, address->shown());
        store.prepare();
        rows = store.exportRows();
    }
    return rows;
}

std::vector<QStringList> journalRows(const QString &settingsFolder)
{
    // Nothing ever printed: the register is empty, and no journal is made.
    if (!QFileInfo::exists(PrintJournal::pathFor(settingsFolder)))
        return {};
    PrintJournal journal(settingsFolder);
    RegisterStore store(journal.database(), RegisterStore::Kind::Local, journal.path());
    store.prepare();
    return store.exportRows();
}

} // namespace

qint64 exportRegister(const Settings &settings, const QString &settingsFolder, const QString &path)
{
    // A device, a folder or a pipe of that name is no file to replace: root
    // exporting to /dev/null would otherwise put a file in the device's place.
    if (const QFileInfo target(path); target.exists() && !target.isFile())
        throw KestranoError(Messages::registerExportFailed(path, Messages::notARegularFile()));
    std::vector<QStringList> lines = {RegisterStore::exportHeader()};
    std::vector<QStringList> rows = settings.registerUri().isEmpty()
                                        ? journalRows(settingsFolder)
                                        : serverRows(settings.registerUri());
    const qint64 count = qint64(rows.size());
    lines.insert(lines.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    const QString failure = saveFileAtomically(path, csvFile(lines));
    if (!failure.isEmpty())
        throw KestranoError(Messages::registerExportFailed(path, failure));
    return count;
}

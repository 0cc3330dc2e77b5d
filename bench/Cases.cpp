#include "Cases.h"

#include "BenchCatalogue.h"
#include "Dialect.h"
#include "Failure.h"
#include "MachineIdentity.h"
#include "MessageBoxes.h"
#include "Snapshot.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "Trim.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTreeWidget>

#include <malloc.h>

#include <memory>
#include <utility>
#include <vector>

namespace BenchCases {

namespace {

// ---- memory ----------------------------------------------------------------

qint64 statusField(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

// Returns freed heap to the system and starts a new resident high-water mark
// at the current resident size; returns that size.
qint64 startMemoryWatch()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return statusField("VmRSS");
}

class Watch
{
public:
    Watch() : m_residentBefore(startMemoryWatch()) { m_timer.start(); }
    void stop(Sample& sample) const
    {
        sample.milliseconds = double(m_timer.nsecsElapsed()) / 1e6;
        sample.processPeakBytes = statusField("VmHWM");
        sample.peakBytes = sample.processPeakBytes - m_residentBefore;
    }

private:
    qint64 m_residentBefore;
    QElapsedTimer m_timer;
};

// ---- message boxes ----------------------------------------------------------

QStringList& shownMessages()
{
    static QStringList messages;
    return messages;
}

void captureMessages()
{
    shownMessages().clear();
    MessageBoxes::setPresenter([](const MessageBoxes::Message& m) { shownMessages() << m.text; });
}

void expectMessages(const QStringList& expected)
{
    if (shownMessages() != expected)
        throw Failure(QStringLiteral("Unexpected message boxes: ") + shownMessages().join(QStringLiteral(" | ")));
    shownMessages().clear();
}

// ---- what our query objects hold ---------------------------------------------

void addSnapshot(Sample& sample, const TADOQuery* query)
{
    const Snapshot* s = query ? query->snapshot() : nullptr;
    if (!s)
        return;
    sample.snapshotBytes += qint64(s->memoryBytes());
    sample.rows += s->rowCount();
    for (int r = 0; r < s->rowCount(); ++r)
        for (int c = 0; c < s->columnCount(); ++c)
            sample.textBytes += s->text(r, c).toUtf8().size();
}

void addSnapshots(Sample& sample, const QObject* window)
{
    for (const TADOQuery* q : window->findChildren<TADOQuery*>())
        addSnapshot(sample, q);
}

// ---- the floor: QSqlQuery alone -------------------------------------------------

class FloorConnection
{
public:
    explicit FloorConnection(const ConnectionSettings& s) : m_name(QStringLiteral("velmora-bench-floor"))
    {
        QSqlDatabase db = addDatabase(m_name, s);
        if (!db.open())
            throw Failure(db.lastError().text());
    }
    ~FloorConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

using Binds = std::vector<std::pair<QString, QVariant>>;

// A statement with markers is prepared and bound by name; one without is run directly.
QSqlQuery floorExec(const QSqlDatabase& db, const QString& statement, const Binds& binds = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString text = rewriteTopAsLimit(statement);
    bool ok;
    if (binds.empty()) {
        ok = q.exec(text);
    } else {
        if (!q.prepare(text))
            throw Failure(q.lastError().text());
        for (const auto& [name, value] : binds)
            q.bindValue(name, value);
        ok = q.exec();
    }
    if (!ok)
        throw Failure(q.lastError().text());
    return q;
}

// Reads every value of every row once; returns the number of rows.
qint64 floorRead(QSqlQuery& q)
{
    const int columns = q.record().count();
    qint64 rows = 0;
    qint64 nulls = 0;
    while (q.next()) {
        for (int c = 0; c < columns; ++c)
            nulls += q.value(c).isNull();
        ++rows;
    }
    if (q.lastError().isValid())
        throw Failure(q.lastError().text());
    return rows + 0 * nulls;
}

qint64 floorSelect(const QSqlDatabase& db, const QString& statement, const Binds& binds = {})
{
    QSqlQuery q = floorExec(db, statement, binds);
    return floorRead(q);
}

// ---- the cases -------------------------------------------------------------------

Sample formShow(bool ours, const Target& target)
{
    Sample sample;
    if (ours) {
        auto window = std::make_unique<TFMain>(target.program);
        expectMessages({});
        Watch watch;
        window->FormShow();
        watch.stop(sample);
        expectMessages({});
        addSnapshots(sample, window.get());
        return sample;
    }
    const QString machine = ReadMachineID();
    FloorConnection c(target.program);
    const QSqlDatabase db = c.db();
    Watch watch;
    sample.rows += floorSelect(db, QStringLiteral("select Top 7 * from Net order by UserCount Desc"));
    sample.rows += floorSelect(db, QStringLiteral("select Top 9 * from Net order by SumCount Desc"));
    sample.rows += floorSelect(db, QStringLiteral("select Top 5 * from GG"));
    const qint64 records = floorSelect(db, QStringLiteral("select * from LoadInfo where UseID=:UseID"),
                                       {{QStringLiteral(":UseID"), machine}});
    sample.rows += records;
    if (records == 0)
        floorExec(db, QStringLiteral("insert into LoadInfo(UseID,LoadTime) values(:UseID,:LoadTime)"),
                  {{QStringLiteral(":UseID"), machine}, {QStringLiteral(":LoadTime"), QDateTime::currentDateTime()}});
    if (records == 1)
        floorExec(db, QStringLiteral("Update LoadInfo set LoadTime=:LoadTime where UseID=:UseID"),
                  {{QStringLiteral(":LoadTime"), QDateTime::currentDateTime()}, {QStringLiteral(":UseID"), machine}});
    sample.rows += floorSelect(db, QStringLiteral("select *from LoadInfo"));
    sample.rows += floorSelect(db, QStringLiteral("select * from UsersM where UserID=:UserID order by UseCount Desc"),
                               {{QStringLiteral(":UserID"), machine}});
    watch.stop(sample);
    return sample;
}

Sample userCount(bool ours, const Target& target)
{
    Sample sample;
    if (ours) {
        TADOConnection connection(target.program);
        installDialect(connection);
        connection.open();
        TADOQuery ADOQuery6(connection, QStringLiteral("ADOQuery6"));
        Watch watch;
        ADOQuery6.setStatement({QStringLiteral("select *from LoadInfo")});
        ADOQuery6.open();
        const int count = ADOQuery6.recordCount();
        watch.stop(sample);
        addSnapshot(sample, &ADOQuery6);
        if (count != sample.rows)
            throw Failure(QStringLiteral("The record count disagrees with the snapshot"));
        return sample;
    }
    FloorConnection c(target.program);
    Watch watch;
    sample.rows = floorSelect(c.db(), QStringLiteral("select *from LoadInfo"));
    watch.stop(sample);
    return sample;
}

Sample categoryClick(bool ours, const Target& target)
{
    Sample sample;
    if (ours) {
        TADOConnection connection(target.program);
        installDialect(connection);
        connection.open();
        auto window = std::make_unique<TFKorvath>(connection);
        window->FormShow();
        expectMessages({});
        auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        QTreeWidgetItem* node = nullptr;
        for (int g = 0; tree && g < tree->topLevelItemCount(); ++g) {
            QTreeWidgetItem* group = tree->topLevelItem(g);
            for (int k = 0; group->text(0) == BenchCatalogue::kLargestGroup && k < group->childCount(); ++k) {
                if (group->child(k)->text(0) == BenchCatalogue::kLargestCategory)
                    node = group->child(k);
            }
        }
        if (!node)
            throw Failure(QStringLiteral("The largest category is not in the tree"));
        tree->setCurrentItem(node);
        if (!node->isSelected())
            throw Failure(QStringLiteral("The largest category could not be selected"));
        Watch watch;
        window->TreeView1Click();
        watch.stop(sample);
        expectMessages({});
        addSnapshot(sample, window->findChild<TADOQuery*>(QStringLiteral("ADOQuery1")));
        return sample;
    }
    FloorConnection c(target.program);
    const QSqlDatabase db = c.db();
    Watch watch;
    floorExec(db, QStringLiteral("update NetType set N_Count=N_Count+:N_Count where BigType=:BigType and type=:type"),
              {{QStringLiteral(":N_Count"), 1},
               {QStringLiteral(":BigType"), BenchCatalogue::kLargestGroup},
               {QStringLiteral(":type"), BenchCatalogue::kLargestCategory}});
    sample.rows = floorSelect(
        db, QStringLiteral("select * from Net where BigType=:BigType and NetType=:NetType order by SumCount Desc"),
        {{QStringLiteral(":BigType"), BenchCatalogue::kLargestGroup},
         {QStringLiteral(":NetType"), BenchCatalogue::kLargestCategory}});
    watch.stop(sample);
    return sample;
}

Sample tidyUp(bool ours, const Target& target)
{
    Sample sample;
    if (ours) {
        auto window = std::make_unique<TFMain>(target.program);
        expectMessages({});
        Watch watch;
        window->Button1Click();
        watch.stop(sample);
        expectMessages({QStringLiteral("修改成功!")});
        addSnapshots(sample, window.get());
        return sample;
    }
    // A server streams one result at a time on a connection, so the walk is
    // read to its end before the first update, keeping only what is written.
    FloorConnection c(target.program);
    const QSqlDatabase db = c.db();
    Watch watch;
    std::vector<std::pair<qlonglong, QString>> writes;
    {
        QSqlQuery walk = floorExec(db, QStringLiteral("select * from net order by NetID Desc"));
        const QSqlRecord record = walk.record();
        const int idColumn = record.indexOf(QStringLiteral("NetID"));
        const int addressColumn = record.indexOf(QStringLiteral("NetAddress"));
        const int columns = record.count();
        while (walk.next()) {
            for (int col = 0; col < columns; ++col)
                walk.value(col);
            const QString address = trimLow(walk.value(addressColumn).toString());
            if (address.endsWith(QLatin1Char('/')))
                writes.emplace_back(walk.value(idColumn).toLongLong(), trimLow(address.chopped(1)));
            ++sample.rows;
        }
        if (walk.lastError().isValid())
            throw Failure(walk.lastError().text());
    }
    QSqlQuery update(db);
    if (!update.prepare(QStringLiteral("Update net set NetAddress=:NetAddress where NetID=:NetID")))
        throw Failure(update.lastError().text());
    for (const auto& [id, address] : writes) {
        update.bindValue(QStringLiteral(":NetAddress"), address);
        update.bindValue(QStringLiteral(":NetID"), id);
        if (!update.exec())
            throw Failure(update.lastError().text());
    }
    watch.stop(sample);
    return sample;
}

} // namespace

QStringList caseNames()
{
    return {QStringLiteral("formshow"), QStringLiteral("count"), QStringLiteral("category"), QStringLiteral("tidyup")};
}

void prepare(const QString& caseName, const Target& target)
{
    if (caseName == QLatin1String("tidyup"))
        BenchCatalogue::restoreTrailingSlashes(target.owner);
}

Sample run(const QString& caseName, bool ours, const Target& target)
{
    captureMessages();
    if (caseName == QLatin1String("formshow"))
        return formShow(ours, target);
    if (caseName == QLatin1String("count"))
        return userCount(ours, target);
    if (caseName == QLatin1String("category"))
        return categoryClick(ours, target);
    if (caseName == QLatin1String("tidyup"))
        return tidyUp(ours, target);
    throw Failure(QStringLiteral("No case named ") + caseName);
}

} // namespace BenchCases

// velmora_bench: start-up, category browsing and the address tidy-up against
// catalogue size, each next to its floor, the same statements through QSqlQuery
// alone. Run without arguments it builds the catalogues, measures every case
// in child processes of its own (one per timed run, so that each peak is its
// own; the two sides take turns) and prints one table.
//
//   velmora_bench [--runs N] [--backends sqlite,postgresql] [--sizes 1,2,3] [--cases formshow,...] [--keep]
//
// --runs: timed runs per side (5; the largest tidy-up at most 3).
// --sizes picks among (Net, LoadInfo) = (10^3, 10^3), (10^4, 10^5), (10^5, 10^6);
// --keep leaves the catalogue files in place for a profiler.

#include "BenchCatalogue.h"
#include "Cases.h"
#include "CatalogueLocation.h"
#include "CatalogueSchema.h"
#include "Failure.h"
#include "MachineIdentity.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString argument(const QStringList& args, const QString& name, const QString& fallback = QString())
{
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

// ---- child: one case, one side, several runs -------------------------------------

BenchCases::Target targetFrom(const QStringList& args)
{
    BenchCases::Target target;
    target.program = CatalogueLocation::parse(argument(args, QStringLiteral("--catalogue"))).settings;
    target.owner = target.program;
    const QString ownerUser = argument(args, QStringLiteral("--owner-user"));
    if (!ownerUser.isEmpty()) {
        target.owner.userName = ownerUser;
        target.owner.password = argument(args, QStringLiteral("--owner-password"));
    }
    return target;
}

int runChild(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString caseName = argument(args, QStringLiteral("--child"));
    const bool ours = argument(args, QStringLiteral("--side")) == QLatin1String("ours");
    const int runs = qMax(1, argument(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt());
    try {
        const BenchCases::Target target = targetFrom(args);
        BenchCases::prepare(caseName, target);
        BenchCases::run(caseName, ours, target); // warm-up, not counted
        std::vector<double> times;
        BenchCases::Sample worst;
        BenchCases::Sample last;
        for (int r = 0; r < runs; ++r) {
            BenchCases::prepare(caseName, target);
            last = BenchCases::run(caseName, ours, target);
            times.push_back(last.milliseconds);
            worst.peakBytes = std::max(worst.peakBytes, last.peakBytes);
            worst.processPeakBytes = std::max(worst.processPeakBytes, last.processPeakBytes);
        }
        QStringList all;
        for (double t : times)
            all << QString::number(t, 'f', 2);
        std::printf("RESULT ms=%.3f peak=%lld process=%lld snapshot=%lld text=%lld rows=%lld all=%s\n", median(times),
                    qint64(worst.peakBytes), qint64(worst.processPeakBytes), qint64(last.snapshotBytes),
                    qint64(last.textBytes), qint64(last.rows), qPrintable(all.join(',')));
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s %s: %s\n", qPrintable(caseName), ours ? "ours" : "floor", qPrintable(failure.text()));
        return 1;
    }
}

// ---- parent: catalogues, children, the table -------------------------------------

struct Measured
{
    bool ok = false;
    double ms = 0;
    qint64 peak = 0;
    qint64 process = 0;
    qint64 snapshot = 0;
    qint64 text = 0;
    qint64 rows = 0;
    std::vector<double> times;
};

// One side of a case over all its children: every timed run, the highest peaks.
Measured combined(const std::vector<Measured>& children)
{
    Measured m;
    m.ok = !children.empty();
    for (const Measured& child : children) {
        m.ok = m.ok && child.ok;
        m.times.insert(m.times.end(), child.times.begin(), child.times.end());
        m.peak = std::max(m.peak, child.peak);
        m.process = std::max(m.process, child.process);
        m.snapshot = child.snapshot;
        m.text = child.text;
        m.rows = child.rows;
    }
    m.ms = median(m.times);
    return m;
}

QString listed(const std::vector<double>& times)
{
    QStringList all;
    for (double t : times)
        all << QString::number(t, 'f', 2);
    return all.join(',');
}

struct Row
{
    QString backend;
    QString caseName;
    BenchCatalogue::Scale scale;
    Measured ours;
    Measured floor;
};

Measured measure(const QString& caseName, bool ours, const QString& catalogue, const QStringList& ownerArgs, int runs)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=false"));
    env.remove(CatalogueLocation::kEnvironmentVariable);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("--child"), caseName, QStringLiteral("--side"),
                     ours ? QStringLiteral("ours") : QStringLiteral("floor"), QStringLiteral("--catalogue"), catalogue,
                     QStringLiteral("--runs"), QString::number(runs)};
    child.start(QCoreApplication::applicationFilePath(), args + ownerArgs);
    Measured m;
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return m;
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral(
        R"(RESULT ms=(\S+) peak=(\S+) process=(\S+) snapshot=(\S+) text=(\S+) rows=(\S+) all=(\S*))")).match(out);
    if (!match.hasMatch())
        return m;
    m.ok = true;
    m.ms = match.captured(1).toDouble();
    m.peak = match.captured(2).toLongLong();
    m.process = match.captured(3).toLongLong();
    m.snapshot = match.captured(4).toLongLong();
    m.text = match.captured(5).toLongLong();
    m.rows = match.captured(6).toLongLong();
    for (const QString& t : match.captured(7).split(',', Qt::SkipEmptyParts))
        m.times.push_back(t.toDouble());
    return m;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', bytes < 10 * 1024 * 1024 ? 2 : 1);
}

QString power(int n)
{
    int e = 0;
    while (n >= 10 && n % 10 == 0) {
        n /= 10;
        ++e;
    }
    return n == 1 ? QStringLiteral("10^%1").arg(e) : QString::number(n);
}

void printTable(const std::vector<Row>& rows)
{
    QTextStream out(stdout);
    const QStringList head{QStringLiteral("backend"), QStringLiteral("case"), QStringLiteral("Net"),
                           QStringLiteral("LoadInfo"), QStringLiteral("ours ms"), QStringLiteral("floor ms"),
                           QStringLiteral("ratio"), QStringLiteral("ours peak MB"), QStringLiteral("floor peak MB"),
                           QStringLiteral("process MB"), QStringLiteral("snapshot MB"), QStringLiteral("text MB"),
                           QStringLiteral("snap/text")};
    const QList<int> widths{10, 20, 5, 8, 9, 9, 6, 12, 13, 10, 11, 8, 9};
    auto line = [&](const QStringList& cells) {
        QString s;
        for (int i = 0; i < cells.size(); ++i)
            s += (i < 2 ? cells[i].leftJustified(widths[i]) : cells[i].rightJustified(widths[i])) + QStringLiteral("  ");
        out << s.trimmed() << '\n';
    };
    const QMap<QString, QString> titles{{QStringLiteral("formshow"), QStringLiteral("FormShow")},
                                        {QStringLiteral("count"), QStringLiteral("LoadInfo count")},
                                        {QStringLiteral("category"), QStringLiteral("TreeView1Click")},
                                        {QStringLiteral("tidyup"), QStringLiteral("Button1Click")}};
    out << '\n';
    line(head);
    for (const Row& r : rows) {
        const bool both = r.ours.ok && r.floor.ok;
        const QString failed = QStringLiteral("failed");
        line({r.backend, titles.value(r.caseName), power(r.scale.netRows), power(r.scale.loadInfoRows),
              r.ours.ok ? QString::number(r.ours.ms, 'f', 2) : failed,
              r.floor.ok ? QString::number(r.floor.ms, 'f', 2) : failed,
              both && r.floor.ms > 0 ? QString::number(r.ours.ms / r.floor.ms, 'f', 2) : QStringLiteral("-"),
              r.ours.ok ? megabytes(r.ours.peak) : QStringLiteral("-"),
              r.floor.ok ? megabytes(r.floor.peak) : QStringLiteral("-"),
              r.ours.ok ? megabytes(r.ours.process) : QStringLiteral("-"),
              r.ours.ok ? megabytes(r.ours.snapshot) : QStringLiteral("-"),
              r.ours.ok ? megabytes(r.ours.text) : QStringLiteral("-"),
              r.ours.ok && r.ours.text > 0 ? QString::number(double(r.ours.snapshot) / double(r.ours.text), 'f', 2)
                                           : QStringLiteral("-")});
    }
    out << "\nms: median of the timed runs, each in a child process of its own after an untimed warm-up, the two\n"
           "sides' children taking turns. ratio: ours / floor, where the floor runs the\n"
           "same statement texts straight through QSqlQuery, forward-only, reading every value once, with no\n"
           "snapshot, no widget and no query object (a statement that repeats is prepared once).\n"
           "peak MB: highest resident size during the step over the resident size before it; process MB: the\n"
           "process's resident high-water mark. snapshot MB: Snapshot::memoryBytes() of every result left open;\n"
           "text MB: the UTF-8 size of those results' cells as the program reads them as text.\n";
    out.flush();
}


int runParent(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = qMax(1, argument(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt());
    const QStringList backends =
        argument(args, QStringLiteral("--backends"), QStringLiteral("sqlite,postgresql")).split(',', Qt::SkipEmptyParts);
    const QStringList sizes =
        argument(args, QStringLiteral("--sizes"), QStringLiteral("1,2,3")).split(',', Qt::SkipEmptyParts);
    const QStringList cases =
        argument(args, QStringLiteral("--cases"), BenchCases::caseNames().join(',')).split(',', Qt::SkipEmptyParts);
    const std::vector<BenchCatalogue::Scale> scales{{1000, 1000}, {10000, 100000}, {100000, 1000000}};
    const QString machine = ReadMachineID();

    // SQLite files live on a memory file system when there is one, so that the
    // tidy-up's thousands of single-statement commits measure the statements
    // and not the disk.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir folder(QFileInfo(shm).isWritable() ? shm + QStringLiteral("/velmora-bench-XXXXXX")
                                                      : QDir::tempPath() + QStringLiteral("/velmora-bench-XXXXXX"));
    if (args.contains(QStringLiteral("--keep"))) {
        folder.setAutoRemove(false);
        err() << "catalogues kept in " << folder.path() << '\n';
    }
    std::vector<Row> rows;
    QElapsedTimer total;
    total.start();

    for (const QString& backendName : backends) {
        QString catalogue;
        QString tidyCatalogue; // when the tidy-up needs another login
        QStringList ownerArgs;
        std::function<void(const BenchCatalogue::Scale&, int)> build;
        std::function<void()> stop;
        if (backendName == QLatin1String("sqlite")) {
            build = [&](const BenchCatalogue::Scale& scale, int index) {
                const QString path = folder.filePath(QStringLiteral("catalogue-%1.sqlite").arg(index));
                CatalogueSchema::createSqliteCatalogue(path, false);
                catalogue = QStringLiteral("sqlite:") + path;
                BenchCatalogue::fill(CatalogueLocation::parse(catalogue).settings, scale, machine);
            };
        } else if (backendName == QLatin1String("postgresql")) {
            const QString script = QStringLiteral(VELMORA_SOURCE_DIR "/scripts/pg-test-server.sh");
            if (!QFileInfo::exists(script)) {
                err() << "postgresql: " << script << " is missing; skipped\n";
                continue;
            }
            // The server runs as another system user, who must reach its folder.
            QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | QFileDevice::ExeGroup |
                                                     QFileDevice::ReadGroup | QFileDevice::ExeOther |
                                                     QFileDevice::ReadOther);
            const QString dir = folder.filePath(QStringLiteral("postgresql"));
            QProcess start;
            start.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            start.start(QStringLiteral("bash"), {script, QStringLiteral("start"), dir});
            start.waitForFinished(-1);
            const QString printed = QString::fromLocal8Bit(start.readAllStandardOutput());
            const QRegularExpressionMatch port = QRegularExpression(QStringLiteral(R"(PORT=(\d+))")).match(printed);
            if (start.exitCode() != 0 || !port.hasMatch()) {
                err() << "postgresql: the test server did not start; skipped\n";
                continue;
            }
            // The script's logins: the program's own, a maintainer's (the only one
            // allowed to rewrite addresses, so the tidy-up runs under it) and the owner.
            catalogue = QStringLiteral("postgresql://velmora@127.0.0.1:%1").arg(port.captured(1));
            tidyCatalogue = QStringLiteral("postgresql://velmora_keeper@127.0.0.1:%1").arg(port.captured(1));
            ConnectionSettings owner = CatalogueLocation::parse(catalogue).settings;
            owner.userName = QStringLiteral("velmora_admin");
            ownerArgs = QStringList{QStringLiteral("--owner-user"), owner.userName, QStringLiteral("--owner-password"),
                                    owner.password};
            build = [owner, machine](const BenchCatalogue::Scale& scale, int) {
                BenchCatalogue::fill(owner, scale, machine);
            };
            stop = [script, dir] {
                QProcess::execute(QStringLiteral("bash"), {script, QStringLiteral("stop"), dir});
            };
        } else {
            err() << "unknown backend " << backendName << '\n';
            continue;
        }

        for (int i = 0; i < int(scales.size()); ++i) {
            if (!sizes.contains(QString::number(i + 1)))
                continue;
            const BenchCatalogue::Scale& scale = scales[i];
            err() << backendName << ": Net " << scale.netRows << ", LoadInfo " << scale.loadInfoRows << ": building"
                  << Qt::endl;
            try {
                build(scale, i);
            } catch (const Failure& failure) {
                err() << "  cannot build the catalogue: " << failure.text() << Qt::endl;
                break;
            }
            for (const QString& caseName : BenchCases::caseNames()) {
                if (!cases.contains(caseName))
                    continue;
                const bool longest = caseName == QLatin1String("tidyup") && i + 1 == int(scales.size());
                const int n = longest ? qMin(runs, 3) : runs;
                Row row{backendName, caseName, scale, {}, {}};
                const QString where =
                    caseName == QLatin1String("tidyup") && !tidyCatalogue.isEmpty() ? tidyCatalogue : catalogue;
                // The sides take turns, one timed run per child, so that a slow
                // spell of the machine falls on both sides, not on one side's runs.
                std::vector<Measured> floors, ours;
                for (int k = 0; k < n; ++k) {
                    floors.push_back(measure(caseName, false, where, ownerArgs, 1));
                    ours.push_back(measure(caseName, true, where, ownerArgs, 1));
                }
                row.floor = combined(floors);
                row.ours = combined(ours);
                err() << "  " << caseName << ": ours " << listed(row.ours.times) << " ms, floor "
                      << listed(row.floor.times) << " ms" << Qt::endl;
                rows.push_back(row);
            }
        }
        if (stop)
            stop();
    }
    printTable(rows);
    err() << "total " << QString::number(total.elapsed() / 1000.0, 'f', 0) << " s\n";
    err().flush();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--child") == 0)
            return runChild(argc, argv);
    }
    return runParent(argc, argv);
}

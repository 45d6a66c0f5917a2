// Speed of the grid on a million-row library. Each figure is measured twice: through
// our layers (TDModule + GridTableModel, what the grid window uses) and with the bare
// SQLite C API doing the same work on the same file, the floor nothing can beat.

#include "grid/FooterValues.h"
#include "grid/GridTableModel.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace vek;

namespace {

constexpr int kRows = 1000000;
constexpr int kScreen = 40;
const char *const kTable = "big";
const char *const kSkipClass = "三年级7班"; // the standing condition of the footers

struct Library {
    QTemporaryDir dir;
    QString path;
    TDModule db;
    sqlite3 *raw = nullptr;
    int columns = 0;
};
Library *lib = nullptr;

void check(int rc, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(lib->raw));
}

// Names like real ones (a surname, one or two given characters), some with Latin text.
QString randomName(std::mt19937 &rng)
{
    static const QString surnames = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤");
    static const QString given = QStringLiteral("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红鹏飞建国宇浩然子轩梓涵欣怡诗雨晨阳佳琪思远嘉");
    QString s = surnames.at(int(rng() % surnames.size()));
    const int n = 1 + int(rng() % 2);
    for (int i = 0; i < n; ++i)
        s += given.at(int(rng() % given.size()));
    if (rng() % 10 == 0) {
        const int extra = 3 + int(rng() % 6);
        s += QLatin1Char(' ');
        for (int i = 0; i < extra; ++i)
            s += QLatin1Char(char('a' + rng() % 26));
    }
    return s;
}

void openRaw()
{
    const QByteArray file = lib->path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &lib->raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the library with the C API");
}

void createLibrary()
{
    lib = new Library;
    if (!lib->dir.isValid())
        throw std::runtime_error("no temporary folder");
    // VEK_BENCH_LIBRARY keeps the library between runs (made there when missing).
    const QString kept = qEnvironmentVariable("VEK_BENCH_LIBRARY");
    lib->path = kept.isEmpty() ? lib->dir.filePath(QStringLiteral("bench.vek")) : kept;
    lib->columns = 5;
    if (!kept.isEmpty() && QFile::exists(kept)) {
        lib->db.openSqliteFile(kept);
        openRaw();
        return;
    }
    lib->db.createSqliteFile(lib->path);
    Query::run(lib->db, QStringLiteral("CREATE TABLE big (id INTEGER PRIMARY KEY, name text, class text, score float, birthday date)"));
    std::mt19937 rng(20240501);
    QStringList classes;
    for (int grade = 1; grade <= 3; ++grade) {
        for (int c = 1; c <= 10; ++c)
            classes << QStringLiteral("%1年级%2班").arg(QString("一二三").at(grade - 1)).arg(c);
    }
    const QDate born(1990, 1, 1);
    Transaction tx(lib->db);
    Query insert(lib->db);
    insert.prepare(QStringLiteral("INSERT INTO big (id, name, class, score, birthday) VALUES (:HostId, :HostName, :HostClass, :HostScore, :HostBorn)"));
    for (int i = 1; i <= kRows; ++i) {
        insert.bind(QStringLiteral(":HostId"), i);
        insert.bind(QStringLiteral(":HostName"), randomName(rng));
        insert.bind(QStringLiteral(":HostClass"), classes.at(int(rng() % classes.size())));
        insert.bind(QStringLiteral(":HostScore"), double(rng() % 10001) / 100.0);
        insert.bind(QStringLiteral(":HostBorn"), born.addDays(int(rng() % 9000)));
        insert.exec();
    }
    insert.raw().finish();
    tx.commit();
    openRaw();
}

// --- the floor: bare SQLite --------------------------------------------------------------

struct Stmt {
    sqlite3_stmt *s = nullptr;
    explicit Stmt(const std::string &sql) { check(sqlite3_prepare_v2(lib->raw, sql.c_str(), -1, &s, nullptr), sql.c_str()); }
    ~Stmt() { sqlite3_finalize(s); }
    bool step()
    {
        const int rc = sqlite3_step(s);
        check(rc, "step");
        return rc == SQLITE_ROW;
    }
};

std::vector<sqlite3_int64> rawKeys(const std::string &sql)
{
    std::vector<sqlite3_int64> keys;
    Stmt q(sql);
    while (q.step())
        keys.push_back(sqlite3_column_int64(q.s, 0));
    return keys;
}

// Reads every column of the rows with the given keys, as a grid would show them.
void rawRows(const std::vector<sqlite3_int64> &keys, size_t from, size_t count)
{
    std::string sql = "SELECT id, name, class, score, birthday FROM big WHERE rowid IN (";
    for (size_t i = 0; i < count; ++i)
        sql += i ? ",?" : "?";
    sql += ")";
    Stmt q(sql);
    for (size_t i = 0; i < count; ++i)
        sqlite3_bind_int64(q.s, int(i + 1), keys[from + i]);
    int seen = 0;
    while (q.step()) {
        for (int c = 0; c < lib->columns; ++c) {
            switch (sqlite3_column_type(q.s, c)) {
            case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(q.s, c)); break;
            case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(q.s, c)); break;
            default: benchmark::DoNotOptimize(sqlite3_column_text(q.s, c)); break;
            }
        }
        ++seen;
    }
    if (seen != int(count))
        throw std::runtime_error("floor read the wrong rows");
}

void FloorOpen(benchmark::State &state)
{
    for (auto _ : state) {
        Stmt count("SELECT count(*) FROM big");
        count.step();
        benchmark::DoNotOptimize(sqlite3_column_int64(count.s, 0));
        const auto keys = rawKeys("SELECT rowid FROM big ORDER BY rowid");
        rawRows(keys, 0, kScreen);
    }
}

void FloorLast(benchmark::State &state)
{
    const auto keys = rawKeys("SELECT rowid FROM big ORDER BY rowid");
    for (auto _ : state)
        rawRows(keys, keys.size() - kScreen, kScreen);
}

void FloorSort(benchmark::State &state)
{
    for (auto _ : state) {
        const auto keys = rawKeys("SELECT rowid FROM big ORDER BY \"name\" ASC, rowid");
        rawRows(keys, 0, kScreen);
    }
}

void FloorFooter(benchmark::State &state)
{
    for (auto _ : state) {
        Stmt q("SELECT SUM(score), AVG(score), COUNT(score) FROM big WHERE class <> ?");
        sqlite3_bind_text(q.s, 1, kSkipClass, -1, SQLITE_STATIC);
        q.step();
        benchmark::DoNotOptimize(sqlite3_column_double(q.s, 0));
        benchmark::DoNotOptimize(sqlite3_column_double(q.s, 1));
        benchmark::DoNotOptimize(sqlite3_column_int64(q.s, 2));
    }
}

// --- through our layers ------------------------------------------------------------------

void showRows(GridTableModel &model, int from, int count)
{
    for (int r = from; r < from + count; ++r) {
        for (int c = 0; c < model.columnCount(); ++c) {
            QVariant v = model.data(model.index(r, c));
            benchmark::DoNotOptimize(v);
        }
    }
}

void VekOpen(benchmark::State &state)
{
    for (auto _ : state) {
        GridTableModel model(lib->db);
        model.open(QString::fromLatin1(kTable));
        showRows(model, 0, kScreen);
        if (model.rowCount() != kRows)
            state.SkipWithError("wrong row count");
    }
}

void VekLast(benchmark::State &state)
{
    GridTableModel model(lib->db);
    model.open(QString::fromLatin1(kTable));
    const int last = model.rowCount() - kScreen;
    for (auto _ : state) {
        // Values read before are forgotten, so every round reads the rows anew.
        model.records().forgetRows();
        showRows(model, last, kScreen);
    }
    if (model.data(model.index(model.rowCount() - 1, 0)).toInt() != kRows)
        state.SkipWithError("the last row is not the last record");
}

void VekSort(benchmark::State &state)
{
    GridTableModel model(lib->db);
    model.open(QString::fromLatin1(kTable));
    for (auto _ : state) {
        model.sort(1, Qt::AscendingOrder);
        showRows(model, 0, kScreen);
    }
    if (model.data(model.index(0, 1)).toString() > model.data(model.index(1, 1)).toString())
        state.SkipWithError("not sorted by name");
}

void VekFooter(benchmark::State &state)
{
    FooterRequest req;
    req.sum << QStringLiteral("score");
    req.average << QStringLiteral("score");
    req.count << QStringLiteral("score");
    const Condition where(QStringLiteral("class <> :HostSkip"), {{QStringLiteral(":HostSkip"), QString::fromUtf8(kSkipClass)}});
    for (auto _ : state) {
        FooterResult r = ComputeFooters(lib->db, QString::fromLatin1(kTable), where, req);
        benchmark::DoNotOptimize(r);
    }
    const FooterResult r = ComputeFooters(lib->db, QString::fromLatin1(kTable), where, req);
    if (r.count.value(QStringLiteral("score")).toLongLong() <= kRows / 2)
        state.SkipWithError("footer count is wrong");
}

// Keeps the mean wall time of every run for the summary lines.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> meanMs;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0)
                meanMs[r.run_name.function_name] = r.real_accumulated_time * 1000.0 / double(r.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void registerPair(const char *name, void (*vek)(benchmark::State &), void (*floor)(benchmark::State &), int iterations)
{
    auto *a = benchmark::RegisterBenchmark((std::string(name) + "/vek").c_str(), vek)->Unit(benchmark::kMillisecond);
    auto *b = benchmark::RegisterBenchmark((std::string(name) + "/floor").c_str(), floor)->Unit(benchmark::kMillisecond);
    if (iterations > 0) {
        a->Iterations(iterations);
        b->Iterations(iterations);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        createLibrary();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "cannot make the library: %s\n", e.what());
        return 1;
    }
    // Reading a million keys takes a good part of a second: a few rounds give a steady mean.
    registerPair("open_first_screen", VekOpen, FloorOpen, 5);
    registerPair("jump_to_last", VekLast, FloorLast, 0);
    registerPair("sort_text_column", VekSort, FloorSort, 3);
    registerPair("footer_sums", VekFooter, FloorFooter, 10);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const char *name : {"open_first_screen", "jump_to_last", "sort_text_column", "footer_sums"}) {
        const auto x = reporter.meanMs.find(std::string(name) + "/vek");
        const auto y = reporter.meanMs.find(std::string(name) + "/floor");
        if (x == reporter.meanMs.end() || y == reporter.meanMs.end())
            continue;
        std::printf("%s: %.2f ms floor: %.2f ms ratio: %.2f\n", name, x->second, y->second, x->second / y->second);
    }
    sqlite3_close(lib->raw);
    delete lib;
    return 0;
}

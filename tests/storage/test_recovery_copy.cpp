// The recovery copy on its own: the runs it keeps follow every change of the
// rows, and a copy brings back exactly the rows it was taken of while holding
// only what changed.
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/recovery_copy.h"
#include "storage/recovery_keeper.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QTest>
#include <numeric>
#include <random>

using namespace td;
using namespace td::test;

namespace {

enum class Change { OneRewritten, AddedAndDeleted, TextsNoRecordHolds, Untitled, AllDeleted };

constexpr int kFileDeposits = 1000;

std::vector<qint64> expand(const RowPieces& pieces)
{
    std::vector<qint64> rows;
    for (const RowPieces::Piece& p : pieces.pieces()) {
        for (qint64 n = 0; n < p.length; ++n)
            rows.push_back(p.baseStart == RowPieces::kOwn ? RowPieces::kOwn : p.baseStart + n);
    }
    return rows;
}

// A register read from a file of kFileDeposits deposits (or an empty one),
// and a keeper that follows it with that file as its base.
struct KeptRegister {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("deposits.tmd"));
    Register reg;
    RecoveryKeeper keeper{reg, [this] { return file; }, [] { return true; }};

    explicit KeptRegister(bool fromFile)
    {
        keeper.setFolder(dir.filePath(QStringLiteral("state")));
        if (!fromFile)
            return;
        QByteArray bytes;
        for (int n = 0; n < kFileDeposits; ++n)
            bytes += depositRecord({"A" + QByteArray::number(n), "0", "5", "1", "0", "01/01/2024"});
        writeFileBytes(file, bytes);
        DepositFileReader reader;
        if (!reader.readFile(file) || !reg.replaceDeposits(reader.takeRecords()))
            qFatal("cannot read the base file");
        keeper.follow({file, bytes.size(), *reader.fileIdentity().contentHash});
    }

    QString writeCopy()
    {
        keeper.update();
        keeper.waitForDisk();
        return keeper.copyPath();
    }
};

}  // namespace

class TestRecoveryCopy : public QObject {
    Q_OBJECT

private slots:
    // Random inserts, removals and rewrites, checked row by row against a
    // plain list of where each row comes from; the pieces stay merged.
    void piecesFollowTheRows_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("baseRows");
        dataRow("a file's rows", 1, 60);
        dataRow("no file", 2, 0);
        dataRow("a file of one row", 3, 1);
    }
    void piecesFollowTheRows()
    {
        QFETCH(int, seed);
        QFETCH(int, baseRows);
        std::mt19937 random(seed);
        RowPieces pieces;
        pieces.resetBase(baseRows, 1);
        std::vector<qint64> expected(static_cast<std::size_t>(baseRows));
        std::iota(expected.begin(), expected.end(), 0);
        expected.push_back(RowPieces::kOwn);
        for (int step = 0; step < 500; ++step) {
            const qint64 size = qint64(expected.size());
            const qint64 at = std::uniform_int_distribution<qint64>(0, size)(random);
            const qint64 count = std::uniform_int_distribution<qint64>(1, 3)(random);
            const auto from = expected.begin() + at;
            switch (random() % 3) {
            case 0:
                pieces.insert(at, count);
                expected.insert(from, std::size_t(count), RowPieces::kOwn);
                break;
            case 1:
                if (size - at < count + 1)
                    continue;  // the spare row stays
                pieces.remove(at, count);
                expected.erase(from, from + count);
                break;
            default:
                if (at == size)
                    continue;
                pieces.change(at, count);
                std::fill(from, expected.begin() + std::min(size, at + count), RowPieces::kOwn);
            }
            QCOMPARE(expand(pieces), expected);
            QCOMPARE(pieces.rows(), qint64(expected.size()));
            RowPieces merged;
            merged.assign(pieces.pieces());
            QCOMPARE(merged.pieces().size(), pieces.pieces().size());
        }
    }

    // The copy of a changed register brings back every row exactly, texts a
    // record cannot hold included; taken after a few changes to a file's
    // rows it holds those rows only.
    void copyBringsBackTheRows_data()
    {
        QTest::addColumn<Change>("change");
        dataRow("one row rewritten", Change::OneRewritten);
        dataRow("rows added and deleted", Change::AddedAndDeleted);
        dataRow("texts no record holds", Change::TextsNoRecordHolds);
        dataRow("no file, rows typed", Change::Untitled);
        dataRow("every row deleted", Change::AllDeleted);
    }
    void copyBringsBackTheRows()
    {
        QFETCH(Change, change);
        KeptRegister kept(change != Change::Untitled);
        Register& reg = kept.reg;
        switch (change) {
        case Change::OneRewritten:
            reg.setCell(500, AccountBalance, QStringLiteral("$9,999.00"));
            break;
        case Change::AddedAndDeleted:
            reg.removeDeposit(1);
            reg.removeDeposit(700);
            reg.setRows(reg.rows() + 1);
            reg.setCell(reg.rows() - 2, AccountNumber, QStringLiteral("NEW"));
            reg.removeDeposit(300);
            break;
        case Change::TextsNoRecordHolds:
            reg.setCell(2, AccountNumber, QStringLiteral("Ünïcødé ✓ and far too long for its field"));
            reg.setCell(3, Active, QStringLiteral(" Yes "));
            break;
        case Change::Untitled:
            for (const char* account : {"T1", "T2", "T3"})
                reg.appendDeposit(depositOf({account, "0", "5", "1", "0", "01/01/2024", "", "$1.00"}));
            break;
        case Change::AllDeleted:  // as New leaves it
            reg.setRows(2);
            for (int c = 0; c < ColumnCount; ++c)
                reg.setCell(1, c, QString());
            break;
        }
        const QString copyPath = kept.writeCopy();
        QString error;
        const std::optional<RecoveryCopy> copy = RecoveryCopy::read(copyPath, error);
        QVERIFY2(copy, qPrintable(error));
        RecoveredRows rows;
        QCOMPARE(rebuildRecoveredRows(*copy, copy->base.path, rows, error), Rebuilt::Done);
        Register back;
        QVERIFY(back.replaceDeposits(std::move(rows.records)));
        for (const auto& [index, texts] : rows.texts) {
            for (int c = 0; c < ColumnCount; ++c)
                back.setCell(int(index + 1), c, texts[c]);
        }
        QCOMPARE(back.rows(), reg.rows());
        for (int r = 1; r < reg.rows(); ++r)
            QCOMPARE(back.record(r), reg.record(r));
        if (change == Change::OneRewritten || change == Change::AddedAndDeleted)
            QVERIFY(QFileInfo(copyPath).size() < 2000);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryCopy)
#include "test_recovery_copy.moc"

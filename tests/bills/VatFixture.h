#pragma once
// A 管理处 with its export numbering and exchange folders, VAT bill types and
// two lent books of free VAT invoices, for the VAT invoice window and the
// invoicing item settings window.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../receipts/ReceiptFixture.h"
#include "platform/TextFile.h"
#include "bills/VatExchange.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

class VatTest : public ReceiptTest {
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        addOffice();
        exec(QStringLiteral("UPDATE 设置管理处 SET 编号字 = 888, 起始编号 = 1 WHERE gyd_dh = 'GL01'"));
        exec(QStringLiteral("INSERT INTO 票据类型 (票据类型代号, 票据类型, 无票据编号, 定额) VALUES "
                            "('02', '增值税专用发票', 0, 0), ('01', '增值税普通发票', 0, 0), ('09', '定额发票', 0, 1)"));
        addLentBook(QStringLiteral("B1"), QStringLiteral("01"), QStringLiteral("D01"), 11, 5);
        addLentBook(QStringLiteral("B2"), QStringLiteral("01"), QStringLiteral("D01"), 13, 2);
        for (const char* f : {"export", "writeback", "backup", "manual"}) QDir(dir.path()).mkdir(QString::fromUtf8(f));
        writeConfig();
    }
    QString folder(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void writeConfig()
    {
        receipts::writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")),
                                   {folder("export"), folder("writeback"), folder("backup"), folder("manual")});
    }
    qint64 billId(const QString& book, const QString& number)
    {
        return selectFirst(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"), {book, number})
            ->value(0)
            .toLongLong();
    }
    static QStringList boxTexts() { return doubles().boxes->texts(); }
    static bool exists(const QString& path) { return QFile::exists(path); }

    QTemporaryDir dir;
};

}  // namespace corvane::test

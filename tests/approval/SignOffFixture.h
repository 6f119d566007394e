#pragma once
// The administrative road on the approval fixture: a sign-off form that uses
// every placeholder, a plan table with its row block, the approval program,
// and readers of what a submission stored.

#include "ApprovalFixture.h"
#include "approval/SignOffDocument.h"
#include "approval/SignOffStore.h"
#include "app/MainWindowHooks.h"
#include "approval/Synchronisation.h"
#include "testsupport/ApprovalProgram.h"

namespace corvane::test {

// What a customer who wants the administrative road puts under
// SystemSetup "合同会签单模板" and "合同收付款计划模板" (README shows the same).
inline const QString kSignOffForm = QStringLiteral(
    "<HTML><BODY><H1>合同会签单 《会签单编号》</H1><TABLE>"
    "<TR><TD>合同名称</TD><TD>《合同名称》</TD><TD>编号</TD><TD>《编号》</TD></TR>"
    "<TR><TD>部门</TD><TD>《合同部门》</TD><TD>类型</TD><TD>《合同类型》</TD></TR>"
    "<TR><TD>起止</TD><TD>《起始日期》至《终止日期》</TD><TD>金额</TD><TD>《合同金额》</TD></TR>"
    "<TR><TD>对方单位</TD><TD>《对方单位》</TD><TD>合格供方</TD><TD>《供》</TD></TR>"
    "<TR><TD>主要条款</TD><TD colspan=3>《合同主要条款或要点》</TD></TR></TABLE>");
inline const QString kPlanTable = QStringLiteral(
    "<P>《收付款计划》</P><TABLE><TBODY><TR><TD>日期</TD><TD>金额</TD><TD>条件</TD></TR>"
    "<TR id=计划><TD>《日期》</TD><TD>《金额》</TD><TD>《条件》</TD></TR></TBODY></TABLE></BODY></HTML>");

class SignOffTest : public ApprovalTest {
protected:
    void SetUp() override
    {
        ApprovalTest::SetUp();
        approval::registerApprovalWindows();
        exec(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同会签单模板', ?), ('合同收付款计划模板', ?)"),
             {kSignOffForm, kPlanTable});
        exec(QStringLiteral("INSERT INTO XZ紧急程度 (紧急程度, 序) VALUES ('紧急', 2), ('普通', 1), ('特急', 3)"));
        // T1 without a head step: D01/P02 (decides), then D02/P03.
        addTemplateStep(QStringLiteral("T1"), QStringLiteral("D01"), QStringLiteral("P02"), true, 1);
        addTemplateStep(QStringLiteral("T1"), QStringLiteral("D02"), QStringLiteral("P03"), false, 2);
    }
    void TearDown() override
    {
        mainWindowHooks() = MainWindowHooks();
        ApprovalTest::TearDown();
    }

    // The record window on HT-1 with its type chosen in the list, as a clerk
    // sees it before pressing 提交.
    Frm合同信息* shown(const QString& number = QStringLiteral("HT-1"))
    {
        openList();
        Frm合同信息* w = openRecord(QStringLiteral("修改"), number);
        return w;
    }

public:
    void addAttachment(const QString& number, const QString& name, const QByteArray& bytes)
    {
        exec(QStringLiteral("INSERT INTO 合同信息附件 (合同ID, 名称, 附件, 类别) VALUES (?, ?, ?, '文件')"),
             {idOf(number), name, bytes});
    }
    void addPayment(const QString& number, const QVariant& date, const QVariant& amount, const QVariant& condition)
    {
        exec(QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额, 付款条件) VALUES (?, ?, ?, ?, ?)"),
             {number, date, amount, amount, condition});
    }

    static Row documentRow(const QString& number)
    {
        return selectFirst(QStringLiteral("SELECT * FROM XZ文件记录 WHERE 编号 = ?"), {number}).value_or(Row());
    }
    static QString documentText(const QString& number)
    {
        const QByteArray bytes = documentRow(number).value(QStringLiteral("文件内容")).toByteArray();
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    }
    static QStringList routeRows(qint64 documentId)
    {
        QStringList out;
        const Rows found = *selectRows(QStringLiteral("SELECT 部门, 岗位, 顺序, 是否主送 FROM XZ文件流转路径"
                                                       " WHERE 文件ID = ? ORDER BY ID"),
                                        {documentId});
        for (const Row& r : found)
            out << QStringLiteral("%1/%2/%3/%4").arg(r.text(0), r.text(1), r.text(2), r.text(3));
        return out;
    }
    static QStringList deliveryRows(qint64 documentId)
    {
        QStringList out;
        const Rows found = *selectRows(QStringLiteral("SELECT 部门, 岗位, 顺序, 是否主送, 是否查阅, CZYDH FROM XZ文件流转情况"
                                                       " WHERE 文件ID = ? ORDER BY UniqueID"),
                                        {documentId});
        for (const Row& r : found)
            out << QStringLiteral("%1/%2/%3/%4/%5/%6").arg(r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.text(5));
        return out;
    }
    static QStringList contractAttachments(const QString& number)
    {
        QStringList out;
        const Rows found = *selectRows(QStringLiteral("SELECT A.名称, A.类别 FROM 合同信息附件 A INNER JOIN 合同信息 C"
                                                       " ON A.合同ID = C.id WHERE C.合同编号 = ? ORDER BY A.ID"),
                                        {number});
        for (const Row& r : found)
            out << r.text(0) + QLatin1Char('/') + r.text(1);
        return out;
    }
    static int rows(const QString& table) { return count(QStringLiteral("SELECT COUNT(*) FROM ") + table); }

    ApprovalProgram program() const { return ApprovalProgram(DbConnection()); }
};

}  // namespace corvane::test

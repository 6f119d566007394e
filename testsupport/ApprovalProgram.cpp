#include "testsupport/ApprovalProgram.h"

#include <gtest/gtest.h>

#include "db/Sql.h"
#include "platform/Services.h"

namespace corvane::test {

bool ApprovalProgram::run(const QString& sql, const QVariantList& values, int* affected)
{
    Statement st(m_db, sql, values);
    if (!st.exec()) {
        ADD_FAILURE() << "approval program: " << st.error().description.toStdString() << "\n" << sql.toStdString();
        return false;
    }
    if (affected) *affected = st.rowsAffected();
    return true;
}

qint64 ApprovalProgram::documentId(const QString& number) const
{
    Statement st(m_db, QStringLiteral("SELECT UniqueID FROM XZ文件记录 WHERE 编号 = ?"), {number});
    if (!st.exec() || !st.next()) return 0;
    return st.value(0).toLongLong();
}

bool ApprovalProgram::finish(const QString& number, const QDateTime& end, std::optional<bool> agreed)
{
    int affected = 0;
    const QVariant verdict = agreed ? QVariant(*agreed ? 1 : 0) : QVariant(QMetaType::fromType<int>());
    if (!run(QStringLiteral("UPDATE XZ文件记录 SET 是否结束 = 1, 结束日期 = ?, 是否同意 = ? WHERE 编号 = ?"),
             {dateTimeValue(dialectOf(m_db), end), verdict, number}, &affected))
        return false;
    return affected == 1;
}

bool ApprovalProgram::reply(const QString& number, const QString& post, const QString& text, const QDateTime& at,
                            bool agreed, const QString& reader)
{
    int affected = 0;
    const qint64 doc = documentId(number);
    if (!run(QStringLiteral("UPDATE XZ文件流转情况 SET 是否查阅 = 1, 查阅人 = ?, 回复内容 = ?, 回复日期 = ?, 是否同意 = ?"
                            " WHERE UniqueID = (SELECT MAX(UniqueID) FROM XZ文件流转情况 WHERE 文件ID = ? AND 岗位 = ?)"),
             {reader, text, dateTimeValue(dialectOf(m_db), at), agreed ? 1 : 0, doc, post}, &affected))
        return false;
    return affected == 1;
}

qint64 ApprovalProgram::addDelivery(const QString& number, const QString& department, const QString& post, int order,
                                    std::optional<int> appendedOrder, bool published)
{
    const qint64 doc = documentId(number);
    if (doc == 0) {
        ADD_FAILURE() << "approval program: no document " << number.toStdString();
        return 0;
    }
    const QVariant appended = appendedOrder ? QVariant(*appendedOrder) : QVariant(QMetaType::fromType<int>());
    if (!run(QStringLiteral("INSERT INTO XZ文件流转情况 (文件ID, 部门, 岗位, 顺序, 是否主送, 是否查阅, 附加顺序, 公开, 送达时间)"
                            " VALUES (?, ?, ?, ?, 0, 0, ?, ?, ?)"),
             {doc, department, post, order, appended, published ? 1 : 0, dateValue(dialectOf(m_db), Today())}))
        return 0;
    Statement st(m_db, QStringLiteral("SELECT MAX(UniqueID) FROM XZ文件流转情况 WHERE 文件ID = ?"), {doc});
    if (!st.exec() || !st.next()) return 0;
    return st.value(0).toLongLong();
}

bool ApprovalProgram::addAttachment(const QString& number, const QString& title, const QString& extension,
                                    const QByteArray& bytes)
{
    const qint64 doc = documentId(number);
    if (doc == 0) {
        ADD_FAILURE() << "approval program: no document " << number.toStdString();
        return false;
    }
    return run(QStringLiteral("INSERT INTO XZ文件附件 (行政文件ID, 附件标题, 扩展名, 附件内容, 模板附件) VALUES (?, ?, ?, ?, 0)"),
               {doc, title, extension, bytes});
}

bool ApprovalProgram::decideCountersign(const QString& contractNumber, const QString& post, const QString& approver,
                                        const QDateTime& at, const QString& opinion, bool agreed)
{
    int affected = 0;
    if (!run(QStringLiteral("UPDATE 合同流转信息表 SET 审批人 = ?, 日期 = ?, 意见 = ?, 同意 = ?"
                            " WHERE 合同编号 = ? AND 岗位编号 = ?"),
             {approver, dateTimeValue(dialectOf(m_db), at), opinion, agreed ? 1 : 0, contractNumber, post}, &affected))
        return false;
    return affected > 0;
}

}  // namespace corvane::test

#pragma once
// The outside administrative-document approval program, played for tests
// and benchmarks through the columns it is relied on to fill: it finishes a
// document, replies to a delivery, adds deliveries of later or inserted
// steps and attachments, and records countersign decisions. Every call
// writes on the connection it was made with; a failing statement fails the
// running test and returns false (or 0).

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace corvane::test {

class ApprovalProgram {
public:
    explicit ApprovalProgram(QSqlDatabase db) : m_db(std::move(db)) {}

    // The UniqueID of the document with this number; 0 when there is none.
    qint64 documentId(const QString& number) const;

    // The circulation ends: 是否结束 1, 结束日期, 是否同意 (NULL when no value).
    bool finish(const QString& number, const QDateTime& end, std::optional<bool> agreed);

    // The delivery of `post` (the latest one) is read and answered.
    bool reply(const QString& number, const QString& post, const QString& text, const QDateTime& at, bool agreed,
               const QString& reader);

    // The next step reached (no 附加顺序), or a step the program inserts
    // (附加顺序 set, listed only when 公开); the new delivery's UniqueID.
    qint64 addDelivery(const QString& number, const QString& department, const QString& post, int order,
                       std::optional<int> appendedOrder = std::nullopt, bool published = false);

    // An attachment added during the approval.
    bool addAttachment(const QString& number, const QString& title, const QString& extension, const QByteArray& bytes);

    // A countersign step decided (合同流转信息表 of the contract, the row of `post`).
    bool decideCountersign(const QString& contractNumber, const QString& post, const QString& approver,
                           const QDateTime& at, const QString& opinion, bool agreed);

private:
    QSqlDatabase m_db;
    bool run(const QString& sql, const QVariantList& values, int* affected = nullptr);
};

}  // namespace corvane::test

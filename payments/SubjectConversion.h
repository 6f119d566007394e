#pragma once
// Bill subjects mapped to accounting subjects (票据科目转换), and the whole
// subject hierarchy of 财务科目 as the subject tree browser shows it.

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "db/Sql.h"

namespace corvane::payments {

// ---- rules

// Codes ordered shorter first, then by code ("9" before "10").
bool codeOrderLess(const QString& a, const QString& b);

struct BrowserSubject {
    QString code, name, parent;  // parent empty when NULL
};
struct BrowserNode {
    QString key;        // "$" + code
    QString text;       // code + " " + name
    QString parentKey;  // empty at the top
};
// Every subject once, shorter codes first; each under its parent, or at the
// top when its parent names no subject or the parent chain runs in a loop.
std::vector<BrowserNode> browserTree(std::vector<BrowserSubject> subjects);

// ---- the mappings

struct Mapping {
    QString 发票科目代号, 发票科目名称, 会计科目代号, 会计科目名称, 备注;
};
DbResult<std::vector<Mapping>> conversionList();
DbResult<std::optional<Mapping>> mappingOf(const QString& code);

enum class MappingOutcome { Done, NoRow, Duplicate, Failed };
// A new mapping; Duplicate when the code is in the table already.
MappingOutcome insertMapping(const Mapping& m, const QString& operatorId, const QDateTime& now, DbError* error);
// The mapping found by `code` gets all seven columns; NoRow when it is gone,
// Duplicate when its new code belongs to another mapping.
MappingOutcome updateMapping(const QString& code, const Mapping& m, const QString& operatorId, const QDateTime& now,
                             DbError* error);
MappingOutcome deleteMapping(const QString& code, DbError* error);

DbResult<std::vector<BrowserSubject>> allSubjects();

}  // namespace corvane::payments

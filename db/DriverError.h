#pragma once
// The driver's error in the database layer's terms. Inside db/ (and the
// test set-up that talks to a server's maintenance database) only: stores
// and windows get DbError from results and never see the driver's classes.

#include <QSqlError>

#include "db/Sql.h"

namespace corvane {

// A driver's error as the standard error box shows it.
DbError dbErrorOf(const QSqlError& error);

}  // namespace corvane

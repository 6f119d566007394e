#pragma once
// The contract register's fixture with the list window's helpers.

#include <QSet>

#include "contracts/frmCorvane.h"
#include "core/ContractData.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

class ContractTest : public ContractDataTest {
protected:
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        ContractDataTest::TearDown();
    }

    // The list window after its first activation.
    static frmCorvane* openList()
    {
        auto* f = Forms::get<frmCorvane>();
        f->Show();
        return f;
    }

    static QStringList column(const frmCorvane& f, int col)
    {
        QStringList out;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) out << f.MSFlexGrid1->TextMatrix(r, col);
        return out;
    }
    static QSet<QString> listed(const frmCorvane& f)
    {
        const QStringList numbers = column(f, 1);
        return QSet<QString>(numbers.begin(), numbers.end());
    }
    static int rowOf(const frmCorvane& f, const QString& number)
    {
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r)
            if (f.MSFlexGrid1->TextMatrix(r, frmCorvane::Col::合同编号) == number) return r;
        return -1;
    }

};

}  // namespace corvane::test

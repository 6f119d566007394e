#pragma once
// The record window with contract approval registered, on the contract
// register's small organisation: D01 财务部 (head post P01 held by 张伟),
// D02 工程部 under it, posts P02, P03.

#include "../contracts/RecordFixture.h"
#include "approval/ContractSubmission.h"
#include "approval/Registration.h"
#include "approval/frm合同会签提交处理.h"
#include "testsupport/LayoutCheck.h"

#include <QApplication>

namespace corvane::test {

class ApprovalTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        approval::registerApprovalWindows();
        approval::administrativeRoad() = approval::AdministrativeRoad();
        addStaff(QStringLiteral("E001"), QStringLiteral("张伟"), QStringLiteral("1"));
        addStaff(QStringLiteral("E002"), QStringLiteral("王芳"), QStringLiteral("1"));
        addPost(QStringLiteral("P01"), QStringLiteral("财务经理"), QStringLiteral("D01"), QStringLiteral("G1"), true);
        addPost(QStringLiteral("P02"), QStringLiteral("会计"), QStringLiteral("D01"), QStringLiteral("G1"));
        addPost(QStringLiteral("P03"), QStringLiteral("工程师"), QStringLiteral("D02"), QStringLiteral("G1"));
        exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = 'E001' WHERE 岗位代号 = 'P01'"));
        exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = 'E002' WHERE 岗位代号 = 'P02'"));
        exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = NULL WHERE 岗位代号 = 'P03'"));
        addContract(QStringLiteral("HT-1"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("未提交"),
                    {{QStringLiteral("合同名称"), QStringLiteral("办公楼维修")}});
    }
    void TearDown() override
    {
        approval::administrativeRoad() = approval::AdministrativeRoad();
        RecordTest::TearDown();
    }

    void setType(const QString& code, bool single, bool head)
    {
        exec(QStringLiteral("UPDATE 合同类型 SET 单级流转 = ?, 部门主管审批 = ? WHERE 合同类型编号 = ?"),
             {single ? 1 : 0, head ? 1 : 0, code});
    }
    void addTemplateStep(const QString& type, const QString& dept, const QString& post, bool decides, int order)
    {
        exec(QStringLiteral("INSERT INTO 合同类型流转路径设置 (合同类型编号, 部门编号, 岗位编号, 决策权, 环节序号, 单级流转)"
                            " VALUES (?, ?, ?, ?, ?, 0)"),
             {type, dept, post, decides ? 1 : 0, order});
    }
    // Three template steps for T1: D01/P02 (decides), D02/P03, D01/P01.
    void threeSteps(const QString& type = QStringLiteral("T1"))
    {
        addTemplateStep(type, QStringLiteral("D01"), QStringLiteral("P02"), true, 1);
        addTemplateStep(type, QStringLiteral("D02"), QStringLiteral("P03"), false, 2);
        addTemplateStep(type, QStringLiteral("D01"), QStringLiteral("P01"), false, 3);
    }

    // The record window showing HT-1, its type box set to the type entry.
    Frm合同信息* record(const QString& typeEntry = QStringLiteral("T1 工程合同"))
    {
        openList();
        Frm合同信息* w = openRecord(QStringLiteral("修改"), QStringLiteral("HT-1"));
        w->Text1[3]->setText(typeEntry);
        return w;
    }

    // What a clerk would see cut off or misplaced, in the program's own face.
    static QStringList problemsOf(QWidget* w)
    {
        const QFont before = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
        w->show();
        QApplication::processEvents();
        const QStringList problems = layoutProblems(w);
        QApplication::setFont(before);
        return problems;
    }

    static QStringList gridRow(const FlexGrid& g, int r)
    {
        QStringList out;
        for (int c = 0; c < g.Cols(); ++c) out << g.TextMatrix(r, c);
        return out;
    }
    static QList<QStringList> gridRows(const FlexGrid& g)
    {
        QList<QStringList> out;
        for (int r = 1; r < g.Rows(); ++r) out << gridRow(g, r);
        return out;
    }
    // Route rows of a contract as "部门/岗位/决策权/环节序号/单级流转".
    static QStringList storedRoute(const QString& number = QStringLiteral("HT-1"))
    {
        QStringList out;
        const Rows rows = *selectRows(QStringLiteral("SELECT 部门编号, 岗位编号, 决策权, 环节序号, 单级流转 FROM "
                                                     "合同实际流转路径设置 WHERE 合同编号 = ? ORDER BY ID"),
                                      {number});
        for (const Row& r : rows)
            out << QStringLiteral("%1/%2/%3/%4/%5").arg(r.text(0), r.text(1), r.text(2), r.text(3), r.text(4));
        return out;
    }
    static QStringList storedCirculation(const QString& number = QStringLiteral("HT-1"))
    {
        QStringList out;
        const Rows rows = *selectRows(QStringLiteral("SELECT 部门编号, 岗位编号, 决策权, 环节序号 FROM 合同流转信息表"
                                                     " WHERE 合同编号 = ? ORDER BY ID"),
                                      {number});
        for (const Row& r : rows)
            out << QStringLiteral("%1/%2/%3/%4").arg(r.text(0), r.text(1), r.text(2), r.text(3));
        return out;
    }
};

}  // namespace corvane::test

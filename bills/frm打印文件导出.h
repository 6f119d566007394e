#pragma once
// The print-file export window: invoices printed by an outside bill-printing
// program. The invoice (typed on a form that looks like the paper invoice,
// or a batch handed over by the opener and shown five grid rows each) goes
// into a copy of that program's template workbook; after printing, the user
// names the bills used and the numbers actually printed, or voids a spoiled
// bill, and the bill goes back to the opener.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <array>
#include <functional>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "bills/PrintFileExport.h"
#include "receipts/BillWindowSeams.h"

namespace corvane {

// A picture that serves as a button: pressed it shows a single border,
// released it loses the border and then acts.
class ArrowPicture : public QFrame {
public:
    explicit ArrowPicture(QWidget* parent);
    std::function<void()> Click;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frm打印文件导出 : public Form {
public:
    frm打印文件导出();

    static inline const QString kCaption = QStringLiteral("打印文件导出");
    // The client area, in twips.
    static constexpr int kClientWidth = 12525;
    static constexpr int kClientHeight = 8940;
    // The hidden pictures of the two editor panels.
    static constexpr int kPayerPictureWidth = 3645, kBillPictureWidth = 1725, kPictureHeight = 1515;

    // ---- invoice form
    std::array<QLabel*, 8> Label1{};       // 0, 1 settings; 2 "输入打印完成的票据编号"; 3 today; 4-7 completion
    QLineEdit* Text3;   // 开票项目
    QLineEdit* Text4;   // 发票种类
    QLineEdit* Text5;   // 付款方手机号码
    QLineEdit* Text6;   // 付款方名称
    QLineEdit* Text7;   // 付款方证件 type
    QLineEdit* Text8;   // 付款方证件号码
    QLineEdit* Text9;   // 收款方名称
    QLineEdit* Text10;  // 收款方证件号码
    QLineEdit* Text11;  // 主管税务机关
    std::array<QLineEdit*, 15> Text12{};   // detail rows: 说明 0-4, 金额 5-9, 备注 10-14
    QLineEdit* Text13;  // 附注
    QLineEdit* Text14;  // 合计金额
    std::array<QRadioButton*, 2> Option1{};  // 单位, 个人
    ArrowPicture* Picture3;  // List1
    ArrowPicture* Picture4;  // List2
    ArrowPicture* Picture5;  // List3
    QListWidget* List1;  // invoice kinds
    QListWidget* List2;  // invoicing items
    QListWidget* List3;  // document types

    // ---- toolbar
    QFrame* Picture1;
    QPushButton* Command8;   // 设置
    QPushButton* Command4;   // 生成导出文件
    QPushButton* Command5;   // 浏览导出文件
    QPushButton* Command1;   // 处理结束
    QPushButton* Command13;  // 批打印票据完成
    QPushButton* Command9;   // 取消打印

    // ---- settings panel
    QFrame* Picture2;
    std::array<QLineEdit*, 2> Text1{};  // template path, export folder
    QPushButton* Command6;  // 浏览 template
    QPushButton* Command3;  // 浏览 folder
    QPushButton* Command7;  // 保存
    QPushButton* Command2;  // 取消

    // ---- completion panel
    QFrame* Picture6;
    QComboBox* Combo1;      // books; item data: free bills
    QLineEdit* Text16;      // the chosen bill
    QPushButton* Command11; // drops List4
    QListWidget* List4;     // free bills; item data: 票据.ID
    QLineEdit* Text2;       // the number actually printed
    QPushButton* Command10; // 确定
    QPushButton* Command12; // 票据作废

    // ---- batch
    QFrame* Picture7;       // its tag: the mode marker
    FlexGrid* MSFlexGrid1;
    QFrame* Picture8;       // payer editor
    std::array<QLabel*, 4> Label2{};
    std::array<QLineEdit*, 5> Text15{};  // 付款方式, 手机, 付款方, 证件 (kind), 证件 (number)
    QFrame* Picture11;      // bill editor
    std::array<QLabel*, 2> Label3{};
    std::array<QLineEdit*, 2> Text17{};  // Text17(0)'s tag: 票据ID
    std::array<QToolButton*, 7> Picture9{};
    QListWidget* List5;     // payer types
    QListWidget* List6;     // the batch's free bills; item data: 票据.ID
    QPixmap Picture10;      // payer picture
    QPixmap Picture12;      // bill picture

    // ---- window state
    QString 导出文件路径;
    int 批处理起始行 = 1;
    QString 导出票据类型编号;
    QString 导出票据类型;
    // The batch handed over by the opener (element 0 unused); never resized here.
    receipts::发票打印数据* 发票打印数据 = nullptr;
    // Mode "装修登记": the text its opener reads from its Command9.
    QString 装修登记结果;
    // Mode "前台收款": set by the opener; told the bill a single invoice was
    // printed on, or that a batch was finished (its bills are in the batch).
    receipts::BillHandBackTo frontDeskHandBack;
    std::function<void()> frontDeskBatchFinished;

    // What an opener does before showing the window modally: the mode
    // string, the batch (nullptr for a single invoice) and the bill type
    // whose books are offered.
    void beginExport(const QString& mode, receipts::发票打印数据* batch, const QString& typeCode,
                     const QString& typeName);

    void Form_Load() override;
    void Form_Activate() override;

    // ---- procedures
    bool 导出文件();
    bool To_Excel();
    bool ToExcel();
    bool 数据合法性检查();
    bool P数据合法性检查();
    void DataToPicture8(int n);
    void DataToPicture11(int n);
    void PrintTopicture10();
    void PrintTopicture12();
    void 获取票据簿();
    void 获取可用票据();
    void 获取批处理可用票据();
    void 读取设置();
    void 建立批处理表格();
    // Whether another invoice of the batch already holds this bill number.
    bool 票据冲突(const QString& number) const;
    bool batchMode() const;

    // ---- handlers
    void Command4_Click();
    void Command5_Click();
    void Command1_Click();
    void Command10_Click();
    void Command12_Click();
    void Command13_Click();
    void Command9_Click();
    void Command8_Click();
    void Command7_Click();
    void Command6_Click();
    void Command3_Click();
    void Command2_Click();
    void Command11_Click();
    void Combo1_Click();
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void List4_Click();
    void List5_Click();
    void List6_Click();
    void Picture3_Click();
    void Picture4_Click();
    void Picture5_Click();
    void Picture9_Click(int index);
    void Form_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_Scroll();
    // Clicking the grid cell (row, col), as a mouse click there does.
    void clickGridCell(int row, int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildLayout();
    void drawPaper(QPainter& p) const;
    receipts::SingleInvoice singleInvoice() const;
    std::vector<receipts::BatchGridRow> gridRows() const;
    void setBlockPicture(int row, int col, const QPixmap& picture);
    QString chosenBook() const;
    void handBack(const QString& book, const QString& number, qint64 billId);
    int records() const;
    QString templateSuffix() const;
};

}  // namespace corvane

-- connection string: DRIVER={FreeTDS};SERVER=db.example;PORT=1433;DATABASE=Corvane
-- connect options: SQL_ATTR_LOGIN_TIMEOUT=30

-- session
SET LOCK_TIMEOUT 30000;

-- numbering lock
SET NOCOUNT ON; DECLARE @r int; EXEC @r = sp_getapplock @Resource = ?, @LockMode = 'Exclusive', @LockOwner = 'Transaction'; SELECT @r;

-- row limit
SELECT TOP 1 合同编号 FROM 合同信息 WHERE 合同编号 LIKE ? ORDER BY 合同编号 DESC;

-- identity read-back
INSERT INTO 报销单表 (报销单编号, 报销金额) OUTPUT INSERTED.报销单ID VALUES (?, ?);
INSERT INTO 票据 (票据编号, 入库单编号) OUTPUT INSERTED.ID SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM 票据 WHERE 票据编号 = ?);
INSERT INTO 报销附件 (报销单明细ID, 附件类型) OUTPUT INSERTED.ID VALUES (?, ?);

-- a row by its column table
INSERT INTO SystemSetup (Code, Value) VALUES (?, ?);

-- savepoints (SQL Server keeps one until the transaction ends: no release)
SAVE TRANSACTION signoff;
ROLLBACK TRANSACTION signoff;
-- (nothing is sent)

-- dates
SELECT GETDATE();
SELECT DATEADD(day, DATEDIFF(day, 0, GETDATE()), 0);
SELECT CONVERT(VARCHAR(19), 合同信息.合同终止日期, 120) FROM 合同信息;

-- text search and concatenation (the bound value on the second line)
SELECT id FROM 合同信息 WHERE 合同名称 LIKE ? ESCAPE '!';
%50!%!_![a]!!%;
SELECT (工号 + 姓名) FROM 员工档案;

-- schema
CREATE TABLE 职能部门类别 (
    部门类别代号 NVARCHAR(20) NOT NULL,
    部门类别名称 NVARCHAR(50),
    PRIMARY KEY (部门类别代号)
);
CREATE TABLE 职能部门new (
    职能部门编号 NVARCHAR(20) NOT NULL,
    职能部门名称 NVARCHAR(100),
    职能部门类别代号 NVARCHAR(20),
    起始日期 DATE,
    终止日期 DATE,
    发票领用 SMALLINT,
    app部门类别 NVARCHAR(20),
    PRIMARY KEY (职能部门编号)
);
CREATE TABLE 上级部门new (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    职能部门编号 NVARCHAR(20) NOT NULL,
    上级部门编号 NVARCHAR(20),
    起始日期 DATE,
    终止日期 DATE,
    UNIQUE (职能部门编号, 起始日期)
);
CREATE TABLE 岗位类别 (
    岗位类别编号 NVARCHAR(20) NOT NULL,
    岗位类别名称 NVARCHAR(50),
    PRIMARY KEY (岗位类别编号)
);
CREATE TABLE 岗位信息new (
    岗位代号 NVARCHAR(20) NOT NULL,
    岗位名称 NVARCHAR(100),
    职能部门代号 NVARCHAR(20),
    岗位类别代号 NVARCHAR(20),
    工号 NVARCHAR(20),
    部门主管 SMALLINT,
    起始日期 DATE,
    终止日期 DATE,
    终止原因 NVARCHAR(200),
    PRIMARY KEY (岗位代号)
);
CREATE TABLE 员工档案 (
    工号 NVARCHAR(20) NOT NULL,
    姓名 NVARCHAR(50),
    英文名 NVARCHAR(50),
    帐号密码 NVARCHAR(50),
    离职日期 DATE,
    PRIMARY KEY (工号)
);
CREATE TABLE 岗位员工new (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    员工代号 NVARCHAR(20) NOT NULL,
    岗位代号 NVARCHAR(20) NOT NULL,
    主要岗位 SMALLINT,
    入岗日期 DATE,
    离岗日期 DATE
);
CREATE TABLE 设置管理处 (
    对应部门代号 NVARCHAR(20),
    gyd_dh NVARCHAR(20),
    gyd_name NVARCHAR(100),
    编号字 INT,
    起始编号 INT
);
CREATE TABLE 岗位权限设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    组代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20),
    授权 SMALLINT
);
CREATE TABLE GroupPrivilege (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    GroupID NVARCHAR(20),
    FormName NVARCHAR(50),
    Popedom SMALLINT
);
CREATE TABLE 专项审核权限表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    类型 NVARCHAR(50),
    部门代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20)
);
CREATE TABLE SystemSetup (
    Code NVARCHAR(50) NOT NULL,
    Value NVARCHAR(MAX),
    PRIMARY KEY (Code)
);
CREATE TABLE 合同提醒设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    类型 NVARCHAR(20),
    部门代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20),
    提前天数 INT,
    启用提醒 SMALLINT
);
CREATE TABLE 合同类型 (
    合同类型编号 NVARCHAR(20) NOT NULL,
    合同类型 NVARCHAR(50),
    合同类别 NVARCHAR(20),
    字 NVARCHAR(20),
    公用 SMALLINT,
    对应科目 NVARCHAR(50),
    单级流转 SMALLINT,
    部门主管审批 SMALLINT,
    PRIMARY KEY (合同类型编号)
);
CREATE TABLE 合同使用部门设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同类型编号 NVARCHAR(20) NOT NULL,
    部门 NVARCHAR(20) NOT NULL,
    UNIQUE (合同类型编号, 部门)
);
CREATE TABLE 供方信息 (
    供应商编号 NVARCHAR(20) NOT NULL,
    供应商名称 NVARCHAR(200),
    合格供方 SMALLINT,
    结束日期 DATE,
    PRIMARY KEY (供应商编号)
);
CREATE TABLE 供方单位基本信息 (
    供应商编号 NVARCHAR(20) NOT NULL,
    开户行 NVARCHAR(100),
    帐号 NVARCHAR(50),
    税号 NVARCHAR(50),
    PRIMARY KEY (供应商编号)
);
CREATE TABLE 供方对应部门 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    供应商编号 NVARCHAR(20) NOT NULL,
    职能部门编号 NVARCHAR(20) NOT NULL
);
CREATE TABLE 合同信息 (
    id INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    流水号 INT,
    年份 INT,
    字 NVARCHAR(10),
    合同名称 NVARCHAR(200),
    合同类型 NVARCHAR(20),
    对应部门 NVARCHAR(20),
    对方单位 NVARCHAR(200),
    对方开户行 NVARCHAR(100),
    对方帐号 NVARCHAR(50),
    对方税号 NVARCHAR(50),
    是否是合格供方 SMALLINT,
    合格供方代码 NVARCHAR(20),
    合同金额 DECIMAL(18,2),
    合同起始日期 DATE,
    合同终止日期 DATE,
    合同签订日期 DATE,
    合同生效日期 DATE,
    合同期限 INT,
    主要条款 NVARCHAR(MAX),
    签约人 NVARCHAR(50),
    对方签约人 NVARCHAR(50),
    合同状态 NVARCHAR(20),
    提交日期 DATETIME,
    行政审批编号 NVARCHAR(50),
    流转结束日期 DATETIME,
    流转通过 SMALLINT,
    作废日期 DATE,
    作废人 NVARCHAR(20),
    合同中止日期 DATE,
    中止原因 NVARCHAR(500),
    中止类别 NVARCHAR(50),
    违约金处理方式 NVARCHAR(100),
    违约金 DECIMAL(18,2),
    违约金收付日期 DATE,
    余款勾销 SMALLINT,
    合同续签 SMALLINT,
    对应续约合同编号 NVARCHAR(50),
    补充 SMALLINT,
    主合同编号 NVARCHAR(50),
    收付款计划合并 SMALLINT,
    CzyDH NVARCHAR(20),
    updatedate DATETIME,
    UNIQUE (合同编号)
);
CREATE TABLE 合同单元信息 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同ID INT NOT NULL
);
CREATE TABLE 合同信息附件 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同ID INT NOT NULL,
    名称 NVARCHAR(255),
    类别 NVARCHAR(20),
    附件 VARBINARY(MAX)
);
CREATE TABLE 合同实际流转路径设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    部门编号 NVARCHAR(20),
    岗位编号 NVARCHAR(20),
    决策权 SMALLINT,
    环节序号 INT,
    单级流转 SMALLINT
);
CREATE TABLE 合同流转信息表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    环节序号 INT,
    部门编号 NVARCHAR(20),
    岗位编号 NVARCHAR(20),
    决策权 SMALLINT,
    审批人 NVARCHAR(50),
    意见 NVARCHAR(MAX),
    同意 SMALLINT,
    日期 DATETIME
);
CREATE TABLE 合同类型流转路径设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同类型编号 NVARCHAR(20) NOT NULL,
    部门编号 NVARCHAR(20),
    岗位编号 NVARCHAR(20),
    决策权 SMALLINT,
    环节序号 INT,
    单级流转 SMALLINT
);
CREATE TABLE XZ文件记录 (
    UniqueID INT IDENTITY(1,1) PRIMARY KEY,
    文头 NVARCHAR(20),
    年 INT,
    月 INT,
    日 INT,
    编号 NVARCHAR(50),
    流水号 INT,
    文件类型 NVARCHAR(50),
    审批文件 SMALLINT,
    是否通知 SMALLINT,
    是否公告 SMALLINT,
    关联文件ID INT,
    文件标题 NVARCHAR(200),
    模板类型 NVARCHAR(20),
    文件内容 VARBINARY(MAX),
    部门 NVARCHAR(20),
    岗位 NVARCHAR(20),
    是否回复 SMALLINT,
    是否发送 SMALLINT,
    是否作废 SMALLINT,
    是否结束 SMALLINT,
    拟稿人 NVARCHAR(20),
    拟稿日期 DATE,
    紧急程度 NVARCHAR(20),
    到期日期 DATE,
    流转类型 NVARCHAR(20),
    允许修改 SMALLINT,
    对应合同编号 NVARCHAR(50),
    CzyDH NVARCHAR(20),
    updatedate DATETIME,
    发送日期 DATETIME,
    结束日期 DATETIME,
    是否同意 SMALLINT,
    UNIQUE (编号)
);
CREATE TABLE XZ文件附件 (
    UniqueID INT IDENTITY(1,1) PRIMARY KEY,
    行政文件ID INT NOT NULL,
    附件标题 NVARCHAR(255),
    扩展名 NVARCHAR(50),
    附件内容 VARBINARY(MAX),
    模板附件 SMALLINT,
    编辑人 NVARCHAR(20),
    CzyDH NVARCHAR(20),
    updatedate DATETIME
);
CREATE TABLE XZ文件流转路径 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    文件ID INT NOT NULL,
    部门 NVARCHAR(20),
    岗位 NVARCHAR(20),
    顺序 INT,
    是否主送 SMALLINT
);
CREATE TABLE XZ紧急程度 (
    紧急程度 NVARCHAR(20),
    序 INT
);
CREATE TABLE XZ文件流转情况 (
    UniqueID INT IDENTITY(1,1) PRIMARY KEY,
    文件ID INT NOT NULL,
    部门 NVARCHAR(20),
    岗位 NVARCHAR(20),
    顺序 INT,
    回复内容 NVARCHAR(MAX),
    回复日期 DATETIME,
    是否主送 SMALLINT,
    是否查阅 SMALLINT,
    附加顺序 INT,
    盖章环节 SMALLINT,
    公开 SMALLINT,
    拒绝原因 NVARCHAR(500),
    拒绝盖章 SMALLINT,
    是否同意 SMALLINT,
    查阅人 NVARCHAR(20),
    备注 NVARCHAR(500),
    CZYDH NVARCHAR(20),
    统一回复 SMALLINT,
    送达时间 DATE,
    updatedate DATE
);
CREATE TABLE 合同收款计划表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    收款日期 DATE,
    收款金额 DECIMAL(18,2),
    余额 DECIMAL(18,2),
    收款条件 NVARCHAR(MAX)
);
CREATE TABLE 合同付款计划表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    付款日期 DATE,
    付款金额 DECIMAL(18,2),
    余额 DECIMAL(18,2),
    付款条件 NVARCHAR(MAX)
);
CREATE TABLE 合同收款记录 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同收款计划ID INT,
    收款日期 DATETIME,
    科目代号 NVARCHAR(50),
    收款金额 DECIMAL(18,2),
    票据编号 NVARCHAR(50),
    入库单编号 NVARCHAR(50)
);
CREATE TABLE 合同付款记录 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同付款计划ID INT,
    科目代号 NVARCHAR(50),
    付款金额 DECIMAL(18,2),
    付款日期 DATE,
    凭证编号 NVARCHAR(50),
    支付确认单编号 NVARCHAR(50),
    备注 NVARCHAR(500),
    作废 SMALLINT
);
CREATE TABLE 报销支付确认单 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销支付单编号 NVARCHAR(50) NOT NULL,
    支付日期 DATE,
    UNIQUE (报销支付单编号)
);
CREATE TABLE 合同履行计划表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    合同编号 NVARCHAR(50) NOT NULL,
    阶段 NVARCHAR(100),
    要求 NVARCHAR(MAX),
    时间节点 DATE,
    完成情况 NVARCHAR(MAX),
    检查人 NVARCHAR(50),
    检查日期 DATE
);
CREATE TABLE 报销单表 (
    报销单ID INT IDENTITY(1,1) PRIMARY KEY,
    报销单编号 NVARCHAR(40) NOT NULL,
    流水号 INT,
    部门类别编号 NVARCHAR(20),
    部门代号 NVARCHAR(20),
    报销费用类别 NVARCHAR(50),
    报销类型 NVARCHAR(20),
    报销日期 DATE,
    付款方式 NVARCHAR(50),
    发卡银行 NVARCHAR(100),
    银行卡种类 NVARCHAR(50),
    银行卡号 NVARCHAR(50),
    对方单位名称 NVARCHAR(200),
    对方帐号 NVARCHAR(50),
    对方银行 NVARCHAR(100),
    报销单类型 NVARCHAR(20),
    制单人 NVARCHAR(50),
    报销人 NVARCHAR(50),
    备注 NVARCHAR(500),
    一事一报 SMALLINT,
    审批路径编号 NVARCHAR(50),
    报批日期 DATE,
    审批环节序号 INT,
    审批通过 SMALLINT,
    审批日期 DATE,
    作废日期 DATE,
    出纳退回 SMALLINT,
    出纳退回日期 DATE,
    出纳退回原因 NVARCHAR(500),
    出纳 NVARCHAR(50),
    财务支付确认日期 DATE,
    凭证流水号 INT,
    凭证编号 NVARCHAR(50),
    凭证打印日期 DATE,
    CzyDH NVARCHAR(20),
    updatedate DATETIME,
    UNIQUE (报销单编号)
);
CREATE TABLE 报销单明细 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销单ID INT NOT NULL,
    科目代号 NVARCHAR(50),
    摘要 NVARCHAR(500),
    金额 DECIMAL(18,2),
    CzyDH NVARCHAR(20),
    updatedate DATETIME
);
CREATE TABLE 报销附件 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销单明细ID INT NOT NULL,
    附件类型 NVARCHAR(20),
    项目 NVARCHAR(300),
    金额 DECIMAL(18,2),
    附件数量 INT,
    票据编号 NVARCHAR(100),
    合同编号 NVARCHAR(50),
    出票单位 NVARCHAR(200),
    CzyDH NVARCHAR(20),
    updatedate DATETIME
);
CREATE TABLE 报销附件图片 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    附件ID INT NOT NULL,
    后缀 NVARCHAR(50),
    J图片 VARBINARY(MAX),
    J图标 VARBINARY(MAX)
);
CREATE TABLE 报销审批路径设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    审批路径代号 NVARCHAR(20),
    审批路径名称 NVARCHAR(100),
    报销部门类别代号 NVARCHAR(20),
    报销类别 NVARCHAR(50),
    金额下限 DECIMAL(18,2),
    金额上限 DECIMAL(18,2),
    本部门主管审批 SMALLINT,
    本部门审批岗位 NVARCHAR(20)
);
CREATE TABLE 报销审批路径 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销审批ID INT NOT NULL,
    审批环节序号 INT,
    部门代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20)
);
CREATE TABLE 报销单审批路径 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销单ID INT NOT NULL,
    序号 INT,
    部门代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20)
);
CREATE TABLE 报销单审批 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    报销单ID INT NOT NULL,
    部门代号 NVARCHAR(20),
    岗位代号 NVARCHAR(20),
    审批环节序号 INT,
    同意 SMALLINT,
    审批意见 NVARCHAR(MAX),
    审批日期 DATE,
    审批人 NVARCHAR(50)
);
CREATE TABLE 票据科目转换 (
    发票科目代号 NVARCHAR(50) NOT NULL,
    发票科目名称 NVARCHAR(100),
    会计科目代号 NVARCHAR(50),
    会计科目名称 NVARCHAR(100),
    备注 NVARCHAR(500),
    CzyDH NVARCHAR(20),
    updatedate DATETIME,
    UNIQUE (发票科目代号)
);
CREATE TABLE 预算计划 (
    计划编号 NVARCHAR(30) NOT NULL,
    部门代号 NVARCHAR(20),
    年度 NVARCHAR(10),
    审核通过 SMALLINT,
    审核完成日期 DATE,
    PRIMARY KEY (计划编号)
);
CREATE TABLE 预算详细 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    计划编号 NVARCHAR(30) NOT NULL,
    科目代码 NVARCHAR(50),
    一月 DECIMAL(18,2),
    二月 DECIMAL(18,2),
    三月 DECIMAL(18,2),
    四月 DECIMAL(18,2),
    五月 DECIMAL(18,2),
    六月 DECIMAL(18,2),
    七月 DECIMAL(18,2),
    八月 DECIMAL(18,2),
    九月 DECIMAL(18,2),
    十月 DECIMAL(18,2),
    十一月 DECIMAL(18,2),
    十二月 DECIMAL(18,2),
    数据来源 NVARCHAR(20),
    公式 NVARCHAR(500),
    数据代号 NVARCHAR(50)
);
CREATE TABLE 预算调整审批单 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    预算计划编号 NVARCHAR(30),
    是否通过 SMALLINT
);
CREATE TABLE 预算调整详细 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    预算调整ID INT NOT NULL,
    科目代码 NVARCHAR(50),
    月份 NVARCHAR(10),
    拟调整预算额 DECIMAL(18,2),
    原预算金额 DECIMAL(18,2)
);
CREATE TABLE 收入凭证 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    收款部门编号 NVARCHAR(20),
    凭证日期 DATE,
    交审日期 DATE,
    作废日期 DATE,
    审批日期 DATE,
    审批同意 SMALLINT
);
CREATE TABLE 收入凭证明细 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    凭证ID INT NOT NULL,
    科目代号 NVARCHAR(50),
    科目名称 NVARCHAR(100),
    贷方金额 DECIMAL(18,2),
    借方金额 DECIMAL(18,2)
);
CREATE TABLE 财务科目 (
    科目代号 NVARCHAR(50) NOT NULL,
    科目名称 NVARCHAR(100),
    上级科目代号 NVARCHAR(50),
    预算 SMALLINT,
    非预算 SMALLINT,
    冲成本 SMALLINT,
    向公司借款 SMALLINT,
    其他 SMALLINT,
    支出项 SMALLINT,
    科目属性 NVARCHAR(20),
    费用类别 NVARCHAR(50),
    UNIQUE (科目代号)
);
CREATE TABLE 科目类别 (
    id INT IDENTITY(1,1) PRIMARY KEY,
    类别 NVARCHAR(50)
);
CREATE TABLE 科目类别对应科目 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    类别 NVARCHAR(50),
    科目代号 NVARCHAR(50)
);
CREATE TABLE 预算体系索引 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    部门类别代号 NVARCHAR(20),
    起始日期 DATE,
    终止日期 DATE
);
CREATE TABLE 预算体系明细表 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    体系ID INT NOT NULL,
    明细科目代号 NVARCHAR(50)
);
CREATE TABLE 银行卡设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    员工编号 NVARCHAR(20),
    银行 NVARCHAR(100),
    卡名 NVARCHAR(50),
    卡号 NVARCHAR(50)
);
CREATE TABLE 银行帐号 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    对方单位 NVARCHAR(200),
    开户银行 NVARCHAR(100),
    银行帐号 NVARCHAR(50)
);
CREATE TABLE 系统设置表 (
    名称 NVARCHAR(50) NOT NULL,
    值 NVARCHAR(MAX),
    PRIMARY KEY (名称)
);
CREATE TABLE 收款方式列表 (
    id INT IDENTITY(1,1) PRIMARY KEY,
    收款方式 NVARCHAR(50)
);
CREATE TABLE SETUPSFXM (
    DH NVARCHAR(20) NOT NULL,
    XM NVARCHAR(100),
    对应科目 NVARCHAR(50),
    收费类别 NVARCHAR(50),
    终止日期 DATE,
    显示名称 NVARCHAR(100),
    应税科目 NVARCHAR(50),
    PRIMARY KEY (DH)
);
CREATE TABLE 税控盘收费项目设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    管理处 NVARCHAR(20) NOT NULL,
    DH NVARCHAR(20) NOT NULL,
    SKDH NVARCHAR(50),
    SKXM NVARCHAR(100),
    税率 DECIMAL(9,4),
    应税科目 NVARCHAR(50),
    UNIQUE (管理处, DH)
);
CREATE TABLE 票据类型 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    票据类型代号 NVARCHAR(20) NOT NULL,
    票据类型 NVARCHAR(50),
    无票据编号 SMALLINT,
    定额 SMALLINT,
    行数 INT
);
CREATE TABLE 票据自定义格式 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    部门编号 NVARCHAR(20),
    格式名称 NVARCHAR(50),
    宽 REAL,
    高 REAL,
    编号字 NVARCHAR(20),
    票据管理 SMALLINT
);
CREATE TABLE 票据自定义格式线 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    格式ID INT,
    X1 REAL,
    Y1 REAL,
    X2 REAL,
    Y2 REAL,
    W REAL
);
CREATE TABLE 票据自定义格式文字 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    格式ID INT,
    内容 NVARCHAR(200),
    L REAL,
    T REAL,
    字体 NVARCHAR(50),
    字号 REAL,
    粗体 SMALLINT
);
CREATE TABLE 票据自定义格式内容 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    格式ID INT,
    内容 NVARCHAR(50),
    L REAL,
    T REAL,
    W REAL,
    行 INT,
    字体 NVARCHAR(50),
    字号 REAL,
    粗体 SMALLINT
);
CREATE TABLE 票据入库单 (
    入库单编号 NVARCHAR(50) NOT NULL,
    票据类型编号 NVARCHAR(20),
    入库时间 DATETIME,
    PRIMARY KEY (入库单编号)
);
CREATE TABLE 票据领用记录 (
    票据领用记录编号 NVARCHAR(50) NOT NULL,
    领用部门代号 NVARCHAR(20),
    PRIMARY KEY (票据领用记录编号)
);
CREATE TABLE 票据领用清单 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    领用记录编号 NVARCHAR(50) NOT NULL,
    入库单编号 NVARCHAR(50) NOT NULL,
    核销日期 DATE,
    归还日期 DATE
);
CREATE TABLE 票据共用设置 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    共用部门编号 NVARCHAR(20),
    领用部门编号 NVARCHAR(20)
);
CREATE TABLE 票据 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    入库单编号 NVARCHAR(50) NOT NULL,
    票据编号 NVARCHAR(50) NOT NULL,
    流水号 INT,
    开票部门编号 NVARCHAR(20),
    开票日期 DATETIME,
    付款人 NVARCHAR(200),
    金额 DECIMAL(18,2),
    税额 DECIMAL(18,2),
    预开 SMALLINT,
    收款日期 DATETIME,
    收款人 NVARCHAR(50),
    收款方式 NVARCHAR(50),
    开票人 NVARCHAR(50),
    管理处 NVARCHAR(20),
    合同编号 NVARCHAR(50),
    税号 NVARCHAR(50),
    地址 NVARCHAR(200),
    账号 NVARCHAR(200),
    备注 NVARCHAR(500),
    无需打印票据 SMALLINT,
    手机号码 NVARCHAR(50),
    邮箱地址 NVARCHAR(100),
    PDFURL NVARCHAR(500),
    SPURL NVARCHAR(500),
    DJ_ID INT,
    ZH_ID INT,
    CW_ID INT,
    作废日期 DATETIME,
    作废原因 NVARCHAR(100),
    作废人 NVARCHAR(50),
    核销日期 DATETIME,
    核销人 NVARCHAR(50),
    实际票据编号 NVARCHAR(50),
    学号 NVARCHAR(50),
    收款凭证编号 NVARCHAR(50),
    被换票入库单编号 NVARCHAR(50),
    退票日期 DATETIME,
    被换票票据编号 NVARCHAR(50),
    退票凭证编号 NVARCHAR(50),
    内换日期 DATETIME,
    内换票据编号 NVARCHAR(50),
    内换凭证编号 NVARCHAR(50),
    对应调换票据入库单 NVARCHAR(50),
    对应调换票据编号 NVARCHAR(50),
    退款日期 DATETIME,
    退款原因 NVARCHAR(200),
    UNIQUE (入库单编号, 票据编号)
);
CREATE TABLE 票据开票数据 (
    ID INT IDENTITY(1,1) PRIMARY KEY,
    票据编号 NVARCHAR(50),
    入库单编号 NVARCHAR(50),
    票据ID INT,
    项目 NVARCHAR(100),
    摘要 NVARCHAR(200),
    单位 NVARCHAR(20),
    数量 DECIMAL(19,6),
    单价 DECIMAL(19,6),
    金额 DECIMAL(18,2),
    税率 DECIMAL(9,4),
    税额 DECIMAL(18,2),
    科目代号 NVARCHAR(50),
    收费项目代号 NVARCHAR(20),
    应税科目 NVARCHAR(50),
    不含税单价 DECIMAL(19,6),
    不含税金额 DECIMAL(18,2),
    非日常 SMALLINT,
    品名 NVARCHAR(100),
    规格 NVARCHAR(100)
);
CREATE INDEX ix_合同信息_流水号 ON 合同信息 (流水号);
CREATE INDEX ix_合同信息_年份 ON 合同信息 (年份, 流水号);
CREATE INDEX ix_合同信息_对应续约合同编号 ON 合同信息 (对应续约合同编号);
CREATE INDEX ix_合同信息_主合同编号 ON 合同信息 (主合同编号);
CREATE INDEX ix_合同信息_合同状态 ON 合同信息 (合同状态, 合同终止日期, 合同类型, 对应部门);
CREATE INDEX ix_合同信息_流转结束日期 ON 合同信息 (流转结束日期, 行政审批编号);
CREATE INDEX ix_合同信息_对应部门 ON 合同信息 (对应部门);
CREATE INDEX ix_合同信息附件_合同id ON 合同信息附件 (合同ID);
CREATE INDEX ix_XZ文件记录_对应合同编号 ON XZ文件记录 (对应合同编号);
CREATE INDEX ix_XZ文件附件_行政文件ID ON XZ文件附件 (行政文件ID);
CREATE INDEX ix_合同收款计划表_合同编号 ON 合同收款计划表 (合同编号);
CREATE INDEX ix_合同收款计划表_收款日期 ON 合同收款计划表 (收款日期, 合同编号, 收款金额, 余额);
CREATE INDEX ix_合同付款计划表_合同编号 ON 合同付款计划表 (合同编号);
CREATE INDEX ix_合同付款计划表_付款日期 ON 合同付款计划表 (付款日期, 合同编号, 付款金额, 余额);
CREATE INDEX ix_合同收款记录_合同收款计划id ON 合同收款记录 (合同收款计划ID, 收款金额);
CREATE INDEX ix_合同付款记录_合同付款计划id ON 合同付款记录 (合同付款计划ID, 作废, 付款金额);
CREATE INDEX ix_合同付款记录_凭证编号 ON 合同付款记录 (凭证编号);
CREATE INDEX ix_合同履行计划表_合同编号 ON 合同履行计划表 (合同编号);
CREATE INDEX ix_报销单表_流水号 ON 报销单表 (流水号);
CREATE INDEX ix_报销单表_部门代号_报批日期 ON 报销单表 (部门代号, 报批日期);
CREATE INDEX ix_报销单明细_报销单id ON 报销单明细 (报销单ID);
CREATE INDEX ix_报销附件_报销单明细id ON 报销附件 (报销单明细ID);
CREATE INDEX ix_报销附件图片_附件id ON 报销附件图片 (附件ID);
CREATE INDEX ix_报销审批路径_报销审批id ON 报销审批路径 (报销审批ID);
CREATE INDEX ix_报销单审批路径_报销单id ON 报销单审批路径 (报销单ID);
CREATE INDEX ix_报销单审批_报销单id ON 报销单审批 (报销单ID);
CREATE INDEX ix_预算计划_部门代号_年度 ON 预算计划 (部门代号, 年度);
CREATE INDEX ix_预算详细_计划编号_科目代码 ON 预算详细 (计划编号, 科目代码);
CREATE INDEX ix_预算调整审批单_预算计划编号 ON 预算调整审批单 (预算计划编号);
CREATE INDEX ix_预算调整详细_预算调整id ON 预算调整详细 (预算调整ID);
CREATE INDEX ix_收入凭证_收款部门编号_凭证日期 ON 收入凭证 (收款部门编号, 凭证日期);
CREATE INDEX ix_收入凭证明细_凭证id_科目代号 ON 收入凭证明细 (凭证ID, 科目代号);
CREATE INDEX ix_科目类别对应科目_科目代号 ON 科目类别对应科目 (科目代号);
CREATE INDEX ix_预算体系明细表_体系id ON 预算体系明细表 (体系ID);
CREATE INDEX ix_票据开票数据_票据id ON 票据开票数据 (票据ID);


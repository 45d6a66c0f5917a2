#pragma once

namespace vek {

class TDModule;

// Dictionary rows of the demo resources 学生档案 (table 学生档案: 编号, 姓名, 性别,
// 出生日期, 班级, 入学成绩, 当前状态, 个人主页; footers on 入学成绩 and 编号, 个人主页 a
// document field) and 成绩流水 (footers on 成绩), and the code table 班级代码 with the
// six classes. Replaces what an earlier run wrote; all of it lands in one transaction
// or none. Throws DbError.
void AddDemoDictionary(TDModule &db);

} // namespace vek

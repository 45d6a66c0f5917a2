#pragma once

namespace vek {

class TDModule;

// Dictionary rows of the demo resource 学生档案 (table 学生档案: 编号, 姓名, 性别,
// 出生日期, 班级, 入学成绩) and its code table 班级代码 with the four classes. Replaces
// what an earlier run wrote; all of it lands in one transaction or none. Throws DbError.
void AddDemoDictionary(TDModule &db);

} // namespace vek

#pragma once

#include <array>

namespace vek {

// The six operations a user may be granted on a resource, in their fixed order.
enum class Right { Add, Delete, Browse, Update, Print, Export };

inline constexpr std::array<Right, 6> kAllRights = {Right::Add,    Right::Delete, Right::Browse,
                                                    Right::Update, Right::Print,  Right::Export};

// The six check boxes of a rights row, in the order the editors show them.
struct RightBox {
    Right right;
    const char *label; // UTF-8 caption
    const char *name;  // objectName part
};
inline constexpr RightBox kRightBoxes[] = {{Right::Browse, "浏览", "browse"}, {Right::Add, "添加", "add"},
                                           {Right::Update, "更新", "update"}, {Right::Delete, "删除", "delete"},
                                           {Right::Print, "打印", "print"},   {Right::Export, "导出", "export"}};

// What the current user may do with one resource: six flags in the order add, delete,
// browse, update, print, export. A default record grants nothing.
struct RightsRecord {
    bool add = false;
    bool remove = false;
    bool browse = false;
    bool update = false;
    bool print = false;
    bool exportData = false;

    static RightsRecord all(bool on = true) { return {on, on, on, on, on, on}; }

    bool get(Right r) const;
    void set(Right r, bool on);
    bool any() const { return add || remove || browse || update || print || exportData; }
    bool allSet() const { return add && remove && browse && update && print && exportData; }

    bool operator==(const RightsRecord &) const = default;

private:
    template <typename Self>
    static auto flag(Self &self, Right r) -> decltype((self.add))
    {
        switch (r) {
        case Right::Add:
            return self.add;
        case Right::Delete:
            return self.remove;
        case Right::Browse:
            return self.browse;
        case Right::Update:
            return self.update;
        case Right::Print:
            return self.print;
        case Right::Export:
            break;
        }
        return self.exportData;
    }
};

inline bool RightsRecord::get(Right r) const
{
    return flag(*this, r);
}

inline void RightsRecord::set(Right r, bool on)
{
    flag(*this, r) = on;
}

} // namespace vek

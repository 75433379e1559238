#pragma once
// What the window side keeps per control or per dialog template, looked up
// by its id. A dialog styles a handful of labels and a program sets options
// for one or two templates, so a short list serves, without a tree's code.
#include <utility>
#include <vector>

namespace win32 {

template <typename Value>
class ById {
public:
    Value* Find(int id) {
        for (auto& [key, value] : entries_) {
            if (key == id) return &value;
        }
        return nullptr;
    }
    const Value* Find(int id) const { return const_cast<ById*>(this)->Find(id); }
    // The value kept for `id`, a default one added when there is none yet.
    Value& operator[](int id) {
        if (Value* found = Find(id)) return *found;
        return entries_.emplace_back(id, Value{}).second;
    }

private:
    std::vector<std::pair<int, Value>> entries_;
};

}  // namespace win32

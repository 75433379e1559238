#pragma once
// The dialog templates a module carries, read as the dialog manager reads
// them: what the keyboard checks can tell of a dialog before it is shown
// (every template, also of dialogs no test opens).
#include <windows.h>

#include <string>
#include <vector>

namespace automation {

struct TemplateControl {
    int id = 0;
    std::wstring className;  // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or the class's name
    std::wstring text;       // empty when the template gives an ordinal (an icon or bitmap)
    DWORD style = 0;
    RECT bounds{};  // dialog units
};

struct DialogTemplate {
    int id = 0;  // the resource's number
    DWORD style = 0;
    std::wstring caption;
    std::vector<TemplateControl> controls;  // in the template's order, which is the Tab order
};

// Every RT_DIALOG resource of the module file `path`, loaded as data. On
// failure the result is empty and `error` says why.
std::vector<DialogTemplate> ReadDialogTemplates(const std::wstring& path, std::string* error);

}  // namespace automation

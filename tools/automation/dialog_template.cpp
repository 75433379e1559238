#include "automation/dialog_template.h"

#include <cstring>

namespace automation {

namespace {

// Reads the template's fields in order, never past its end.
class Reader {
public:
    Reader(const BYTE* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    bool ok() const { return ok_; }

    template <typename T>
    T Take() {
        T value{};
        if (!Need(sizeof(T))) return value;
        std::memcpy(&value, bytes_ + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    void Skip(std::size_t count) {
        if (Need(count)) at_ += count;
    }
    void AlignTo(std::size_t unit) { Skip((unit - at_ % unit) % unit); }
    // A zero-terminated UTF-16 text.
    std::wstring Text() {
        std::wstring text;
        for (WORD unit = Take<WORD>(); ok_ && unit != 0; unit = Take<WORD>()) text.push_back(static_cast<wchar_t>(unit));
        return text;
    }
    // A name or a number: 0 (none), 0xFFFF and a number, or a text.
    std::wstring NameOrNumber(WORD* number) {
        *number = 0;
        if (!Need(sizeof(WORD))) return {};
        WORD first = 0;
        std::memcpy(&first, bytes_ + at_, sizeof first);
        if (first == 0) {
            at_ += sizeof first;
            return {};
        }
        if (first == 0xFFFF) {
            at_ += sizeof first;
            *number = Take<WORD>();
            return {};
        }
        return Text();
    }

private:
    bool Need(std::size_t count) {
        if (!ok_ || count > size_ - at_) ok_ = false;
        return ok_;
    }
    const BYTE* bytes_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::wstring ClassName(WORD ordinal, std::wstring name) {
    switch (ordinal) {
        case 0x0080:
            return L"Button";
        case 0x0081:
            return L"Edit";
        case 0x0082:
            return L"Static";
        case 0x0083:
            return L"ListBox";
        case 0x0084:
            return L"ScrollBar";
        case 0x0085:
            return L"ComboBox";
    }
    return name;
}

// One template's bytes (DLGTEMPLATE or DLGTEMPLATEEX); false when they end
// before the template does.
bool ParseDialogTemplate(const BYTE* bytes, std::size_t size, DialogTemplate* dialog) {
    Reader in(bytes, size);
    const WORD version = in.Take<WORD>();
    const WORD signature = in.Take<WORD>();
    const bool extended = version == 1 && signature == 0xFFFF;
    WORD count = 0;
    if (extended) {
        in.Take<DWORD>();  // help id
        in.Take<DWORD>();  // extended style
        dialog->style = in.Take<DWORD>();
    } else {
        dialog->style = MAKELONG(version, signature);
        in.Take<DWORD>();  // extended style
    }
    count = in.Take<WORD>();
    in.Skip(4 * sizeof(short));  // x, y, cx, cy
    WORD ordinal = 0;
    in.NameOrNumber(&ordinal);  // menu
    in.NameOrNumber(&ordinal);  // class
    dialog->caption = in.Text();
    if (dialog->style & DS_SETFONT) {
        in.Take<WORD>();  // point size
        if (extended) {
            in.Take<WORD>();  // weight
            in.Take<BYTE>();  // italic
            in.Take<BYTE>();  // character set
        }
        in.Text();  // face
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignTo(sizeof(DWORD));
        TemplateControl control;
        if (extended) {
            in.Take<DWORD>();  // help id
            in.Take<DWORD>();  // extended style
            control.style = in.Take<DWORD>();
        } else {
            control.style = in.Take<DWORD>();
            in.Take<DWORD>();  // extended style
        }
        control.bounds.left = in.Take<short>();
        control.bounds.top = in.Take<short>();
        control.bounds.right = control.bounds.left + in.Take<short>();
        control.bounds.bottom = control.bounds.top + in.Take<short>();
        control.id = extended ? static_cast<int>(in.Take<DWORD>()) : in.Take<WORD>();
        if (control.id == 0xFFFF || control.id == -1) control.id = -1;
        std::wstring name = in.NameOrNumber(&ordinal);
        control.className = ClassName(ordinal, std::move(name));
        control.text = in.NameOrNumber(&ordinal);
        in.Skip(in.Take<WORD>());  // creation data
        dialog->controls.push_back(std::move(control));
    }
    return in.ok();
}

// RT_DIALOG, whose macro follows the build's character set.
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);

BOOL CALLBACK CollectNumber(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR numbers) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(numbers)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

}  // namespace

std::vector<DialogTemplate> ReadDialogTemplates(const std::wstring& path, std::string* error) {
    std::vector<DialogTemplate> dialogs;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        *error = "cannot load the module as data: error " + std::to_string(GetLastError());
        return dialogs;
    }
    std::vector<int> ids;
    EnumResourceNamesW(module, kDialogType, CollectNumber, reinterpret_cast<LONG_PTR>(&ids));
    for (int id : ids) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), kDialogType);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
        DialogTemplate dialog;
        dialog.id = id;
        if (!bytes || !ParseDialogTemplate(bytes, SizeofResource(module, found), &dialog)) {
            *error = "dialog " + std::to_string(id) + " cannot be read";
            dialogs.clear();
            break;
        }
        dialogs.push_back(std::move(dialog));
    }
    FreeLibrary(module);
    if (dialogs.empty() && error->empty()) *error = "the module has no dialog";
    return dialogs;
}

}  // namespace automation

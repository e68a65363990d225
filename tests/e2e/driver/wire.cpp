#include "wire.h"

#include <cwchar>

namespace driver {

Reply& Reply::add(const std::wstring& field) {
    fields.push_back(field);
    return *this;
}

Reply& Reply::add(int64_t number) {
    return add(std::to_wstring(number));
}

Reply& Reply::add_hex(uint32_t number) {
    return add(hex(number));
}

std::wstring from_utf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), length);
    return text;
}

std::string to_utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring escape_field(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\\':
            out += L"\\\\";
            break;
        case L'\t':
            out += L"\\t";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\n':
            out += L"\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::wstring unescape_field(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c != L'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        wchar_t next = text[++i];
        switch (next) {
        case L't':
            out += L'\t';
            break;
        case L'r':
            out += L'\r';
            break;
        case L'n':
            out += L'\n';
            break;
        case L'b':
            out += L'\b';
            break;
        case L'u':
            if (i + 4 < text.size()) {
                out += wchar_t(std::wcstoul(text.substr(i + 1, 4).c_str(), nullptr, 16));
                i += 4;
                break;
            }
            out += next;
            break;
        default:
            out += next;
        }
    }
    return out;
}

Args split_line(const std::wstring& line) {
    Args args;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find(L'\t', start);
        args.push_back(unescape_field(line.substr(start, tab == std::wstring::npos ? tab : tab - start)));
        if (tab == std::wstring::npos) break;
        start = tab + 1;
    }
    return args;
}

int64_t parse_number(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    bool hexadecimal = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    int64_t value = hexadecimal ? int64_t(std::wcstoull(begin + 2, &end, 16)) : std::wcstoll(begin, &end, 10);
    if (text.empty() || *end != L'\0') throw Failure{L"not a number: " + text};
    return value;
}

std::wstring hex(uint32_t number) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"0x%08X", number);
    return buffer;
}

bool read_line(std::string& line) {
    static HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    static std::string pending;
    for (;;) {
        size_t end = pending.find('\n');
        if (end != std::string::npos) {
            line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr) || got == 0) {
            line = pending;
            pending.clear();
            return !line.empty();
        }
        pending.append(buffer, got);
    }
}

void write_line(const std::string& line) {
    static HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string whole = line + "\n";
    DWORD written = 0;
    WriteFile(output, whole.data(), DWORD(whole.size()), &written, nullptr);
    FlushFileBuffers(output);
}

const std::wstring& arg(const Args& args, size_t index, const wchar_t* name) {
    if (index >= args.size()) throw Failure{std::wstring(L"missing argument: ") + name};
    return args[index];
}

int64_t number_arg(const Args& args, size_t index, const wchar_t* name, int64_t fallback) {
    if (index >= args.size() || args[index].empty()) {
        if (fallback == INT64_MIN) throw Failure{std::wstring(L"missing argument: ") + name};
        return fallback;
    }
    return parse_number(args[index]);
}

} // namespace driver

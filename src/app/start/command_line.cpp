#include "app/start/command_line.h"

#include <string>
#include <string_view>

#include "app/import/item_kind.h"

namespace brindor::app {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

FileName ToFileName(const std::u16string& units) {
    return FileName(units.data(), units.size());
}

const char16_t* SkipProgramName(const char16_t* p) {
    if (*p == u'"') {
        ++p;
        while (*p && *p != u'"')
            ++p;
        if (*p) ++p;
    } else {
        while (*p && !IsBlank(*p))
            ++p;
    }
    return p;
}

// One argument from `p` on; `p` ends after it.
std::u16string ReadArgument(const char16_t*& p) {
    std::u16string argument;
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p))) {
        size_t backslashes = 0;
        while (*p == u'\\') {
            ++backslashes;
            ++p;
        }
        if (*p != u'"') {
            argument.append(backslashes, u'\\');
            if (*p && (quoted || !IsBlank(*p))) argument += *p++;
            continue;
        }
        argument.append(backslashes / 2, u'\\');
        if (backslashes % 2) {
            argument += *p++;
        } else if (quoted && p[1] == u'"') {
            argument += u'"';
            p += 2;
        } else {
            quoted = !quoted;
            ++p;
        }
    }
    return argument;
}

} // namespace

FileNames CommandLineArguments(const char16_t* command_line) {
    FileNames arguments;
    if (!command_line) return arguments;
    const char16_t* p = SkipProgramName(command_line);
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p) return arguments;
        arguments.push_back(ToFileName(ReadArgument(p)));
    }
}

FileNames CommandLineItems(const FileNames& arguments) {
    FileNames items;
    bool only_items = false;
    for (const FileName& argument : arguments) {
        if (!only_items && argument.units()[0] == u'-') {
            only_items = std::u16string_view(argument.units()) == u"--";
            continue;
        }
        if (!argument.empty()) items.push_back(argument);
    }
    return items;
}

bool ReadHandlerLink(const char16_t* command_line, FileName& link) {
    if (!command_line) return false;
    const char16_t* p = SkipProgramName(command_line);
    while (IsBlank(*p))
        ++p;
    const std::u16string_view marker(kHandlerMarker);
    const std::u16string_view rest(p);
    if (rest.substr(0, marker.size()) != marker ||
        (rest.size() > marker.size() && !IsBlank(rest[marker.size()])))
        return false;
    size_t begin = marker.size(), end = rest.size();
    while (begin < end && IsBlank(rest[begin]))
        ++begin;
    while (end > begin && IsBlank(rest[end - 1]))
        --end;
    if (end - begin >= 2 && rest[begin] == u'"' && rest[end - 1] == u'"') {
        ++begin;
        --end;
    }
    link = FileName(rest.data() + begin, end - begin);
    if (KindOfItem(link, nullptr) != ItemKind::kMagnetLink) link = FileName();
    return true;
}

std::vector<Bytes> ForwardMessages(const FileNames& items, size_t largest) {
    std::vector<Bytes> messages(1);
    for (const FileName& item : items) {
        const size_t size = (item.length() + 1) * sizeof(char16_t);
        if (size > largest) continue;
        if (messages.back().size() + size > largest) messages.emplace_back();
        messages.back().append(item.units(), size);
    }
    if (messages.back().empty()) messages.back().append(u"", sizeof(char16_t));
    return messages;
}

bool IsWholeForward(const char16_t* units, size_t count) {
    return count > 0 && units[count - 1] == 0;
}

FileNames ForwardedItems(const char16_t* units, size_t count) {
    FileNames items;
    if (!IsWholeForward(units, count)) return items;
    for (size_t start = 0; start < count;) {
        size_t end = start;
        while (end < count && units[end])
            ++end;
        if (end > start) items.emplace_back(units + start, end - start);
        start = end + 1;
    }
    return items;
}

} // namespace brindor::app

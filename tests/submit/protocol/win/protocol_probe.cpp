// Plays the worker's part of one link against the stand-in service, for the service tests.
// One command a line on stdin, one answer line on stdout; texts travel as hex of their bytes so
// that control bytes and code page 936 survive the console.
//   taskpage               GET of the web host's task page (the service sets or deletes the login cookies)
//   resolve LINK           ResolveLink and ParseResolveAnswer from empty fields
//   commit UID LINK        the above, then BuildCommitBody, CommitTask and IsCommitAccepted
#include <cstdio>
#include <cstring>
#include <string>

#include "net/win/http_request.h"
#include "submit/service/commit_body.h"
#include "submit/service/resolve_answer.h"
#include "submit/service/win/protocol_requests.h"

namespace {

using brindor::Text;

std::string to_hex(const char* text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
        hex += digits[*at >> 4];
        hex += digits[*at & 15];
    }
    return hex;
}

std::string from_hex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

void print(const char* key, const char* value) {
    std::printf(" %s=%s", key, to_hex(value).c_str());
}

void resolve(const std::string& link, brindor::TaskFields& fields) {
    Text answer = brindor::ResolveLink(link.c_str()).text;
    brindor::ParseResolveAnswer(answer, fields);
    print("answer", answer.c_str());
    print("cid", fields.cid.c_str());
    print("tsize", fields.tsize.c_str());
    print("title", fields.title.c_str());
    print("findex", fields.findex.c_str());
    print("size", fields.size.c_str());
}

void run(const std::string& line) {
    size_t space = line.find(' ');
    std::string command = line.substr(0, space);
    std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    brindor::TaskFields fields;
    std::printf("%s", command.c_str());
    if (command == "taskpage") {
        Text page = brindor::HttpRequest("http://" BRINDOR_WEB_HOST "/task.html");
        print("page", page.c_str());
    } else if (command == "resolve") {
        resolve(from_hex(rest), fields);
    } else if (command == "commit") {
        size_t split = rest.find(' ');
        std::string uid = from_hex(rest.substr(0, split));
        resolve(from_hex(split == std::string::npos ? "" : rest.substr(split + 1)), fields);
        Text body = brindor::BuildCommitBody(uid.c_str(), fields);
        brindor::ServiceAnswer answer = brindor::CommitTask(body);
        print("body", body.c_str());
        print("commit", answer.text.c_str());
        std::printf(" accepted=%d", brindor::IsCommitAccepted(answer) ? 1 : 0);
    } else {
        std::printf(" unknown");
    }
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main() {
    char buffer[65536];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (!line.empty()) run(line);
    }
    return 0;
}

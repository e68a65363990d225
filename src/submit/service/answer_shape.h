// The shapes of the service's script answers, read as tokens. A confirmation is told from an error
// page by its shape, not by the callback name: a service may answer under a fixed name of its own.
#pragma once
#include "runtime/core/text_ref.h"

namespace brindor {

enum class CommitShape {
    kConfirmation,  // the service's one call with one JSON object, without null, that says nothing else
    kRefusal,       // the same, but the object holds null (or a string that is exactly "null") and no sign
                    // of a task
    kContradiction, // the call's object says both: a negative progress or result, an error key, an empty
                    // id, nothing at all ({}), or a null beside a non-empty id or a progress of 0 or more
    kOther,         // anything else: a page, a second statement, two calls, an empty call, a cut answer
};

// After an optional byte order mark, blanks and comments, exactly one of
//   name(VALUE)      (name no reserved word)   window.name(VALUE)   window["name"](VALUE)
//   typeof name === 'function' && name(VALUE)       (either quote, == too)
//   try{ one of the above }catch(e){}
//   VALUE
// followed only by ";", blanks and comments, where VALUE is one complete JSON object.
CommitShape ReadCommitShape(TextRef text);

enum class ResolveShape {
    kWhole, // the queryUrl call up to the parenthesis that closes it, and nothing after it
    kCut,   // the call begins but the text ends before its closing parenthesis
    kOther, // no queryUrl call at all, or something after it
};

ResolveShape ResolveAnswerShape(TextRef text);

// A page where a script answer was expected: its first character, past blanks and a byte order
// mark, is "<". A title inside a script answer never makes one.
bool IsHtmlPage(TextRef text);

} // namespace brindor

// Writing texts into XML records so that every record stays well-formed
// whatever the text holds.
//
// Both forms copy the text byte for byte except for what XML cannot carry
// as it stands:
//   - C0 control characters other than tab, line feed and carriage return,
//     the non-characters U+FFFE and U+FFFF, and bytes that are not part of
//     well-formed UTF-8 (each such byte) become U+FFFD;
//   - escaped text (attribute values, element content): `&`, `<`, `>` and
//     `"` become `&amp;`, `&lt;`, `&gt;` and `&quot;`;
//   - section text (inside <![CDATA[ ... ]]>): every `]]>` is split into
//     `]]]]><![CDATA[>`, so the section ends only where the record ends it.
#pragma once

#include "lumex/cx.h"

namespace lmx {

enum class XmlText { Escaped, Section };

// Appends the text (null appends nothing). False when memory ran out.
bool xmlAppend(CxStringBuff *buff, const char *text, XmlText form);

}  // namespace lmx

#pragma once

// The licence agreement between the user and the maker, ending with the
// maker's contact data; paragraphs are separated by "\r\n".
extern const wchar_t kAgreementText[];

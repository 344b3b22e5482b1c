// Stored bytes (server and user names, message ids, reasons) as a person
// reads them, in UTF-8: valid UTF-8 as it is, anything else read as Latin-1,
// so that no byte is dropped. Subjects and senders are decoded as headers.
#pragma once

#include <string>

std::string ShownText(const std::string& bytes);

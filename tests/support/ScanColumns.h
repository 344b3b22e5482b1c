// A scan's or a table's rows field by field, for comparing with the lists a
// test expects.
#pragma once

#include "ScannedHeader.h"
#include "UniqueIdList.h"

#include <string>
#include <vector>

template <class Field> std::vector<std::string> Column(const ScannedHeaders& headers, Field field) {
    std::vector<std::string> column;
    for (const ScannedHeader& header : headers) {
        column.emplace_back((header.*field)());
    }
    return column;
}

inline std::vector<std::string> Subjects(const ScannedHeaders& headers) {
    return Column(headers, &ScannedHeader::Subject);
}
inline std::vector<std::string> Froms(const ScannedHeaders& headers) {
    return Column(headers, &ScannedHeader::From);
}
inline std::vector<std::string> MessageIds(const ScannedHeaders& headers) {
    return Column(headers, &ScannedHeader::MessageId);
}
inline std::vector<std::string> HeaderTexts(const ScannedHeaders& headers) {
    return Column(headers, &ScannedHeader::Text);
}
inline std::vector<std::size_t> HeaderBytes(const ScannedHeaders& headers) {
    std::vector<std::size_t> column;
    for (const ScannedHeader& header : headers) {
        column.push_back(header.HeaderBytes());
    }
    return column;
}

inline std::vector<std::string> Listed(const UniqueIdList& ids) {
    std::vector<std::string> listed;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        listed.emplace_back(ids[i]);
    }
    return listed;
}

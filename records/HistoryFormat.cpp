#include "records/HistoryFormat.h"

#include <cstdio>

#include "files/Csv.h"

namespace records {
namespace {

std::string json(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out.append(code);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string jsonObject(const Values& values, const std::string& indent) {
    std::string out = "{";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? ",\n" : "\n") + indent + "  " + json(values[i].first) + ": " +
               json(values[i].second);
    return out + (values.empty() ? "}" : "\n" + indent + "}");
}

// A leading = + - @ is kept from being a spreadsheet formula by a quote mark in front; so is a
// leading tab or carriage return, which some spreadsheets skip before looking for one.
std::string notFormula(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        text.insert(0, "'");
    return text;
}

std::string differencesLine(const Event& e) {
    std::string out;
    for (const Difference& d : e.differences)
        out += (out.empty() ? "" : "; ") + d.parameter + ": " + d.before + " -> " + d.after;
    return out;
}

}  // namespace

std::string historyText(std::span<const Event> events) {
    std::string out;
    for (const Event& e : events) {
        out += e.atUtc + "  " + (e.unitId.empty() ? "-" : e.unitId) + "  " +
               std::string(kindName(e.kind)) + "  " + std::string(resultName(e.result)) + "  " +
               e.operatorLogin + "@" + e.host + "  " + e.port +
               (e.adapter.empty() ? "" : " (" + e.adapter + ")") + "  " + e.command + "\n";
        for (const Difference& d : e.differences)
            out += "    " + d.parameter + ": \"" + d.before + "\" -> \"" + d.after + "\"\n";
        if (e.upload)
            out += "    " + e.upload->fileName + " sha256 " + e.upload->sha256 + ", " +
                   std::to_string(e.upload->size) + " bytes, " + std::to_string(e.upload->records) +
                   " records: " + e.upload->outcome + "\n";
    }
    return out;
}

std::string historyJson(std::span<const Event> events) {
    std::string out = "[";
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        out += i ? ",\n  {" : "\n  {";
        const std::pair<const char*, const std::string*> fields[] = {
            {"uuid", &e.uuid},
            {"time", &e.atUtc},
            {"operator", &e.operatorLogin},
            {"host", &e.host},
            {"program", &e.program},
            {"command", &e.command},
            {"port", &e.port},
            {"adapter", &e.adapter},
            {"unit", &e.unitId},
            {"idcod", &e.idCodText},
            {"own_number", &e.ownNumber},
            {"firmware", &e.firmwareVersion}};
        for (const auto& [name, value] : fields)
            out += "\n    " + json(name) + ": " + json(*value) + ",";
        out += "\n    \"kind\": " + json(kindName(e.kind)) + ",";
        out += "\n    \"result\": " + json(resultName(e.result)) + ",";
        out += "\n    \"values\": " + jsonObject(e.values, "    ") + ",";
        out += "\n    \"sent\": " + jsonObject(e.sent, "    ") + ",";
        out += "\n    \"differences\": [";
        for (std::size_t d = 0; d < e.differences.size(); ++d)
            out += std::string(d ? ", " : "") +
                   "{\"parameter\": " + json(e.differences[d].parameter) +
                   ", \"before\": " + json(e.differences[d].before) +
                   ", \"after\": " + json(e.differences[d].after) + "}";
        out += "],\n    \"upload\": ";
        if (e.upload)
            out += "{\"file\": " + json(e.upload->fileName) +
                   ", \"sha256\": " + json(e.upload->sha256) +
                   ", \"size\": " + std::to_string(e.upload->size) +
                   ", \"records\": " + std::to_string(e.upload->records) +
                   ", \"outcome\": " + json(e.upload->outcome) + "}";
        else
            out += "null";
        out += "\n  }";
    }
    return out + (events.empty() ? "]\n" : "\n]\n");
}

std::string valuesJson(const Values& values) {
    return jsonObject(values, "") + "\n";
}

std::string historyCsv(std::span<const Event> events) {
    std::string out =
        "time,unit,idcod,own_number,firmware,kind,result,operator,host,program,command,port,"
        "adapter,differences,upload_file,upload_sha256,upload_size,upload_records,"
        "upload_outcome,uuid\r\n";
    for (const Event& e : events) {
        const UploadFacts u = e.upload.value_or(UploadFacts{});
        files::CsvRow row = {e.atUtc,
                             e.unitId,
                             e.idCodText,
                             e.ownNumber,
                             e.firmwareVersion,
                             std::string(kindName(e.kind)),
                             std::string(resultName(e.result)),
                             e.operatorLogin,
                             e.host,
                             e.program,
                             e.command,
                             e.port,
                             e.adapter,
                             differencesLine(e),
                             u.fileName,
                             u.sha256,
                             e.upload ? std::to_string(u.size) : "",
                             e.upload ? std::to_string(u.records) : "",
                             u.outcome,
                             e.uuid};
        for (std::string& field : row) field = notFormula(std::move(field));
        out += files::csvLine(row, ',', "\r\n");
    }
    return out;
}

}  // namespace records

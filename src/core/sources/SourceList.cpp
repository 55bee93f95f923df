#include "core/sources/SourceList.h"

#include <nlohmann/json.hpp>

#include "core/base/FileIO.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

using Json = nlohmann::json;

[[noreturn]] void Refuse(const std::string& path, const std::string& detail) {
    throw EReadError("数据源文件有误（" + path + "）：" + detail);
}

std::string Ordinal(size_t index) { return "第" + std::to_string(index + 1) + "个数据源"; }

// The member of a source's object as type, or def when it is missing.
template <typename Value>
Value Member(const Json& object, const char* key, Value def, const std::string& where,
             const std::string& path) {
    const auto found = object.find(key);
    if (found == object.end()) {
        return def;
    }
    try {
        return found->get<Value>();
    } catch (const Json::exception&) {
        Refuse(path, where + "的“" + key + "”类型不对");
    }
}

TDrawSource SourceOf(const Json& object, size_t index, const std::string& path) {
    const std::string where = Ordinal(index);
    if (!object.is_object()) {
        Refuse(path, where + "不是对象");
    }
    TDrawSource source;
    source.Name = Member<std::string>(object, "name", "", where, path);
    source.Url = Member<std::string>(object, "url", "", where, path);
    const std::string format = Member<std::string>(object, "format", "auto", where, path);
    const std::optional<TSourceFormat> known = FormatOfName(format);
    if (!known) {
        Refuse(path, where + "的格式“" + format + "”不是auto、table、json或html");
    }
    source.Format = *known;
    source.Enabled = Member<bool>(object, "enabled", true, where, path);
    source.Headers = Member<std::vector<std::string>>(object, "headers", {}, where, path);
    return source;
}

}  // namespace

std::string SourcesFilePath(const std::string& folder) {
    return folder + "/" + "ormelux-sources.json";
}

std::string SourceProblem(const std::vector<TDrawSource>& sources, size_t index) {
    const TDrawSource& source = sources[index];
    if (Trim(source.Name).empty()) {
        return "名称不能为空";
    }
    for (size_t i = 0; i < index; ++i) {
        if (sources[i].Name == source.Name) {
            return "名称“" + source.Name + "”与" + Ordinal(i) + "重复";
        }
    }
    THttpRequest request;
    request.Url = source.Url;
    request.Headers = source.Headers;
    try {
        CheckRequest(request);
    } catch (const EFetchError& error) {
        return error.what();
    }
    return {};
}

std::vector<TDrawSource> LoadSources(const std::string& path) {
    if (!FileExists(path)) {
        return {};
    }
    std::string text;
    try {
        text = ReadFileHead(path, kMaxSourcesFileBytes + 1);
    } catch (const EInOutError& error) {
        Refuse(path, error.what());
    }
    if (text.size() > kMaxSourcesFileBytes) {
        Refuse(path, "文件超过" + std::to_string(kMaxSourcesFileBytes >> 20) + " MB");
    }
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::parse_error& error) {
        Refuse(path, "JSON有误（第" + std::to_string(error.byte) + "字节）");
    }
    const auto list = document.is_object() ? document.find("sources") : document.end();
    if (!document.is_object() || list == document.end() || !list->is_array()) {
        Refuse(path, "没有数据源列表（sources）");
    }
    std::vector<TDrawSource> sources;
    sources.reserve(list->size());
    for (const Json& object : *list) {
        sources.push_back(SourceOf(object, sources.size(), path));
        const std::string problem = SourceProblem(sources, sources.size() - 1);
        if (!problem.empty()) {
            Refuse(path, Ordinal(sources.size() - 1) + "：" + problem);
        }
    }
    return sources;
}

std::string SourcesFileText(const std::vector<TDrawSource>& sources) {
    Json list = Json::array();
    for (const TDrawSource& source : sources) {
        list.push_back({{"name", source.Name},
                        {"url", source.Url},
                        {"format", FormatName(source.Format)},
                        {"enabled", source.Enabled},
                        {"headers", source.Headers}});
    }
    return Json{{"sources", std::move(list)}}.dump(2) + "\n";
}

void SaveSources(const std::string& path, const std::vector<TDrawSource>& sources) {
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string problem = SourceProblem(sources, i);
        if (!problem.empty()) {
            throw Exception(Ordinal(i) + "：" + problem);
        }
    }
    WriteFileAtomically(path, SourcesFileText(sources));
}

}  // namespace tovarin

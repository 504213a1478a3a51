#include "tools/zevk/model.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <tuple>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "tools/zevk/literal.h"

namespace zevk::cli {

using nlohmann::json;

namespace {

std::string escapeToken(std::string_view key) {
    std::string out;
    for (char c : key) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

// Records where every value down to a small depth begins. The text was
// already accepted by the JSON parser, so the scan need not recheck it;
// values nested deeper than a model ever looks are skipped without
// recursion.
class Scanner {
public:
    Scanner(const std::string& text, std::map<std::string, size_t>& out) : t_(text), out_(out) {}

    void run() {
        ws();
        value("", 0);
    }

private:
    static constexpr int kMaxDepth = 6;

    void ws() {
        while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
    }

    std::string string() {
        std::string s;
        ++i_;  // opening quote
        while (i_ < t_.size() && t_[i_] != '"') {
            if (t_[i_] == '\\' && i_ + 1 < t_.size()) {
                char e = t_[++i_];
                switch (e) {
                    case 'n': s += '\n'; break;
                    case 't': s += '\t'; break;
                    case 'r': s += '\r'; break;
                    case 'b': s += '\b'; break;
                    case 'f': s += '\f'; break;
                    case 'u': {
                        unsigned code = 0;
                        for (int k = 0; k < 4 && i_ + 1 < t_.size(); ++k) {
                            char h = t_[++i_];
                            code = code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h))
                                                                         ? h - '0'
                                                                         : (std::tolower(h) - 'a' + 10));
                        }
                        // Keys of a model are plain text; other code points only
                        // need to stay distinct, not exact.
                        if (code < 0x80) {
                            s += static_cast<char>(code);
                        } else {
                            s += "\\u" + std::to_string(code);
                        }
                        break;
                    }
                    default: s += e; break;
                }
                ++i_;
            } else {
                s += t_[i_++];
            }
        }
        ++i_;  // closing quote
        return s;
    }

    void skip() {
        int depth = 0;
        do {
            if (i_ >= t_.size()) return;
            char c = t_[i_];
            if (c == '"') {
                string();
                continue;
            }
            if (c == '{' || c == '[') ++depth;
            if (c == '}' || c == ']') --depth;
            ++i_;
            if (depth == 0 && c != '{' && c != '[' && c != '}' && c != ']') {
                // a scalar: runs to the next delimiter
                while (i_ < t_.size() && !std::strchr(",]} \t\r\n", t_[i_])) ++i_;
            }
        } while (depth > 0);
    }

    void value(const std::string& pointer, int depth) {
        if (i_ >= t_.size()) return;
        out_.emplace(pointer, i_);
        char c = t_[i_];
        if ((c == '{' || c == '[') && depth >= kMaxDepth) {
            skip();
            return;
        }
        if (c == '{') {
            ++i_;
            for (;;) {
                ws();
                if (i_ >= t_.size() || t_[i_] == '}') break;
                std::string key = string();
                ws();
                ++i_;  // ':'
                ws();
                value(pointer + "/" + escapeToken(key), depth + 1);
                ws();
                if (i_ < t_.size() && t_[i_] == ',') ++i_;
            }
            ++i_;
        } else if (c == '[') {
            ++i_;
            for (size_t k = 0;; ++k) {
                ws();
                if (i_ >= t_.size() || t_[i_] == ']') break;
                value(pointer + "/" + std::to_string(k), depth + 1);
                ws();
                if (i_ < t_.size() && t_[i_] == ',') ++i_;
            }
            ++i_;
        } else if (c == '"') {
            string();
        } else {
            while (i_ < t_.size() && !std::strchr(",]} \t\r\n", t_[i_])) ++i_;
        }
    }

    const std::string& t_;
    std::map<std::string, size_t>& out_;
    size_t i_ = 0;
};

// Collects every problem of a model before giving up on it.
class Reader {
public:
    Reader(Model& model, ModelError& error) : m_(model), e_(error) {}

    void read(const json& doc) {
        if (!doc.is_object()) {
            problem("", "a model is a JSON object with \"name\", \"blocks\" and \"lines\"");
            return;
        }
        keys(doc, "", {"name", "description", "busTypes", "blocks", "lines"});
        if (auto* n = member(doc, "", "name", true)) {
            if (!n->is_string() || n->get<std::string>().empty()) {
                problem("/name", "\"name\" must be non-empty text");
            } else {
                m_.name = n->get<std::string>();
                if (!plainName(m_.name)) problem("/name", "the model name must not contain '/', ':' or control characters");
            }
        }
        description(doc, "");
        if (auto* b = member(doc, "", "busTypes", false)) busTypes(*b);
        if (auto* b = member(doc, "", "blocks", true)) blocks(*b);
        if (auto* l = member(doc, "", "lines", false)) lines(*l);
    }

private:
    void problem(const std::string& pointer, std::string message) {
        ModelProblem p;
        p.pointer = pointer;
        p.message = std::move(message);
        e_.problems.push_back(std::move(p));
    }

    static bool plainName(const std::string& s) {
        for (unsigned char c : s) {
            if (c < 0x20 || c == 0x7f || c == '/' || c == ':') return false;
        }
        return true;
    }

    void keys(const json& object, const std::string& pointer, std::initializer_list<const char*> allowed) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool known = false;
            for (const char* a : allowed) known = known || it.key() == a;
            if (!known) {
                std::string list;
                for (const char* a : allowed) list += std::string(list.empty() ? "" : ", ") + "\"" + a + "\"";
                problem(pointer + "/" + escapeToken(it.key()),
                        "unknown key \"" + it.key() + "\" (expected " + list + ")");
            }
        }
    }

    const json* member(const json& object, const std::string& pointer, const char* key, bool required) {
        auto it = object.find(key);
        if (it == object.end()) {
            if (required) problem(pointer, std::string("missing \"") + key + "\"");
            return nullptr;
        }
        return &*it;
    }

    void description(const json& object, const std::string& pointer) {
        if (auto* d = member(object, pointer, "description", false); d && !d->is_string()) {
            problem(pointer + "/description", "\"description\" must be text");
        }
    }

    void busTypes(const json& b) {
        if (!b.is_object()) {
            problem("/busTypes", "\"busTypes\" must be an object of bus type names and their data type ids");
            return;
        }
        std::map<long long, std::string> ids;
        for (auto it = b.begin(); it != b.end(); ++it) {
            const std::string p = "/busTypes/" + escapeToken(it.key());
            if (it.key().empty()) {
                problem(p, "a bus type needs a name");
                continue;
            }
            if (!it->is_number_integer()) {
                problem(p, "bus type \"" + it.key() + "\" needs an integer data type id");
                continue;
            }
            const long long id = it->get<long long>();
            if (id < 10 || id > std::numeric_limits<int32_t>::max()) {
                problem(p, "bus type \"" + it.key() + "\" has id " + std::to_string(id) +
                               "; ids 0 to 9 are the built-in types, so a bus type id is 10 or more");
                continue;
            }
            if (auto [at, fresh] = ids.emplace(id, it.key()); !fresh) {
                problem(p, "bus types \"" + at->second + "\" and \"" + it.key() + "\" share the id " +
                               std::to_string(id));
                continue;
            }
            m_.busTypes[it.key()] = static_cast<int>(id);
        }
    }

    void blocks(const json& list) {
        if (!list.is_array()) {
            problem("/blocks", "\"blocks\" must be an array of block instances");
            return;
        }
        std::vector<std::pair<size_t, const json*>> tasks;  // instance, value
        for (size_t i = 0; i < list.size(); ++i) {
            const json& b = list[i];
            const std::string p = "/blocks/" + std::to_string(i);
            ModelBlock mb;
            mb.pointer = p;
            if (!b.is_object()) {
                problem(p, "a block instance is an object with \"name\", \"block\" and \"params\"");
                m_.blocks.push_back(std::move(mb));
                continue;
            }
            keys(b, p, {"name", "block", "params", "task", "description"});
            description(b, p);
            if (auto* n = member(b, p, "name", true)) {
                if (!n->is_string() || n->get<std::string>().empty()) {
                    problem(p + "/name", "the instance name must be non-empty text");
                } else if (!plainName(n->get<std::string>())) {
                    problem(p + "/name", "the instance name must not contain '/', ':' or control characters");
                } else if (auto [at, fresh] = names_.emplace(n->get<std::string>(), i); !fresh) {
                    problem(p + "/name", "instance name \"" + n->get<std::string>() + "\" is already used by " +
                                             "/blocks/" + std::to_string(at->second));
                } else {
                    mb.name = n->get<std::string>();
                }
            }
            if (auto* d = member(b, p, "block", true)) {
                if (!d->is_string() || !blockName(d->get<std::string>())) {
                    problem(p + "/block",
                            "\"block\" must be a deliverable name: a letter, then letters, digits or '_'");
                } else {
                    mb.block = d->get<std::string>();
                }
            }
            if (auto* ps = member(b, p, "params", false)) params(*ps, p + "/params", mb);
            if (auto* t = member(b, p, "task", false)) tasks.emplace_back(i, t);
            m_.blocks.push_back(std::move(mb));
        }
        for (auto& [self, t] : tasks) {
            const std::string p = "/blocks/" + std::to_string(self) + "/task";
            if (!t->is_string()) {
                problem(p, "\"task\" must name the instance whose function-call output runs this block");
                continue;
            }
            auto it = names_.find(t->get<std::string>());
            if (it == names_.end()) {
                problem(p, "no instance named \"" + t->get<std::string>() + "\"");
            } else if (it->second == self) {
                problem(p, "an instance cannot run in its own task");
            } else {
                m_.blocks[self].task = it->second;
            }
        }
    }

    static bool blockName(const std::string& s) {
        if (s.empty() || s.size() > 63 || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
        for (unsigned char c : s) {
            if (!std::isalnum(c) && c != '_') return false;
        }
        return true;
    }

    void params(const json& list, const std::string& p, ModelBlock& mb) {
        if (!list.is_array()) {
            problem(p, "\"params\" must be an array of MATLAB literals, e.g. [\"0.001\", \"[5 5]\", \"{'BusA'}\"]");
            return;
        }
        for (size_t k = 0; k < list.size(); ++k) {
            const json& v = list[k];
            const std::string pk = p + "/" + std::to_string(k);
            if (v.is_number()) {
                mb.params.push_back(host::makeScalar(v.get<double>()));
                mb.paramTexts.push_back(v.dump());
            } else if (v.is_string()) {
                LiteralError error;
                auto a = parseLiteral(v.get<std::string>(), &error);
                if (!a) {
                    problem(pk, "not a MATLAB literal: " + error.message + " at character " +
                                    std::to_string(error.position + 1) + " of \"" + v.get<std::string>() + "\"");
                    continue;
                }
                mb.params.push_back(std::move(a));
                mb.paramTexts.push_back(v.get<std::string>());
            } else {
                problem(pk, "a parameter is a MATLAB literal in a string, or a number");
            }
        }
    }

    bool endpoint(const json& v, const std::string& p, const char* side, ModelEndpoint* out) {
        const char* expect = "an endpoint is \"instance:port\" with a 0-based port, e.g. \"adc1:0\"";
        if (!v.is_string()) {
            problem(p, expect);
            return false;
        }
        const std::string s = v.get<std::string>();
        const size_t colon = s.rfind(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == s.size()) {
            problem(p, std::string(expect) + "; got \"" + s + "\"");
            return false;
        }
        const std::string portText = s.substr(colon + 1);
        long port = 0;
        for (char c : portText) {
            if (!std::isdigit(static_cast<unsigned char>(c)) || port > 100000) {
                problem(p, "the port of \"" + s + "\" must be a 0-based " + side + " index");
                return false;
            }
            port = port * 10 + (c - '0');
        }
        auto it = names_.find(s.substr(0, colon));
        if (it == names_.end()) {
            problem(p, "no instance named \"" + s.substr(0, colon) + "\"");
            return false;
        }
        out->block = it->second;
        out->port = static_cast<int>(port);
        return true;
    }

    void lines(const json& list) {
        if (!list.is_array()) {
            problem("/lines", "\"lines\" must be an array of {\"from\": \"instance:port\", \"to\": ...}");
            return;
        }
        for (size_t i = 0; i < list.size(); ++i) {
            const json& l = list[i];
            const std::string p = "/lines/" + std::to_string(i);
            if (!l.is_object()) {
                problem(p, "a line is an object {\"from\": \"instance:port\", \"to\": \"instance:port\"}");
                continue;
            }
            keys(l, p, {"from", "to", "description"});
            description(l, p);
            ModelEndpoint from;
            bool fromOk = false;
            if (auto* f = member(l, p, "from", true)) fromOk = endpoint(*f, p + "/from", "output", &from);
            auto* t = member(l, p, "to", true);
            if (!t) continue;
            auto add = [&](const json& v, const std::string& pt) {
                ModelEndpoint to;
                if (endpoint(v, pt, "input", &to) && fromOk) m_.lines.push_back({from, to, pt});
            };
            if (t->is_array()) {
                if (t->empty()) problem(p + "/to", "\"to\" lists at least one input");
                for (size_t k = 0; k < t->size(); ++k) add((*t)[k], p + "/to/" + std::to_string(k));
            } else {
                add(*t, p + "/to");
            }
        }
    }

    Model& m_;
    ModelError& e_;
    std::unordered_map<std::string, size_t> names_;
};

}  // namespace

std::pair<int, int> SourceMap::position(size_t offset) const {
    if (lineStarts_.empty()) {
        lineStarts_.push_back(0);
        for (size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] == '\n') lineStarts_.push_back(i + 1);
        }
    }
    offset = std::min(offset, text_.size());
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - 1;
    return {static_cast<int>(it - lineStarts_.begin()) + 1, static_cast<int>(offset - *it) + 1};
}

std::pair<int, int> SourceMap::locate(const std::string& pointer) const {
    if (text_.empty()) return {0, 0};
    if (!offsets_) {
        offsets_ = std::make_unique<std::map<std::string, size_t>>();
        Scanner(text_, *offsets_).run();
    }
    auto it = offsets_->find(pointer);
    return it == offsets_->end() ? std::pair<int, int>{0, 0} : position(it->second);
}

std::string ModelError::what() const {
    std::ostringstream out;
    for (const auto& p : problems) {
        out << file;
        if (p.line > 0) out << ":" << p.line;
        if (p.column > 0) out << ":" << p.column;
        out << ": ";
        if (!p.pointer.empty()) out << p.pointer << ": ";
        out << p.message << "\n";
    }
    return out.str();
}

Model parseModel(std::string text, std::string file) {
    ModelError error;
    error.file = file;
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        ModelProblem p;
        const size_t byte = e.byte > 0 ? e.byte - 1 : 0;
        std::tie(p.line, p.column) = SourceMap(text).position(byte);
        std::string what = e.what();
        // Keep the parser's reason, not its own coordinates.
        if (auto at = what.find("column "); at != std::string::npos) {
            if (auto colon = what.find(": ", at); colon != std::string::npos) what = what.substr(colon + 2);
        }
        p.message = "not valid JSON: " + what;
        error.problems.push_back(std::move(p));
        throw error;
    }
    Model model;
    model.file = file;
    Reader(model, error).read(doc);
    model.source = SourceMap(std::move(text));
    if (!error.problems.empty()) {
        for (auto& p : error.problems) {
            std::tie(p.line, p.column) = model.source.locate(p.pointer);
            // A missing or mistyped member is reported at its container, which
            // always exists; walk up when the pointer itself names nothing.
            std::string up = p.pointer;
            while (p.line == 0 && !up.empty()) {
                up = up.substr(0, up.rfind('/'));
                std::tie(p.line, p.column) = model.source.locate(up);
            }
        }
        throw error;
    }
    return model;
}

Model readModel(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ModelError error;
        error.file = path;
        error.problems.push_back({"", 0, 0, "cannot read the file"});
        throw error;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseModel(text.str(), path);
}

}  // namespace zevk::cli

// The compile of whole models by the host of our own: propagation along
// the lines, what blocks refuse, what the host itself checks, and model
// files that are not models.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "tests/support.h"
#include "tools/zevk/compile.h"

namespace zevk::test {
namespace {

using cli::Model;
using cli::ModelError;

json compile(std::string text) {
    Model m = cli::parseModel(std::move(text), "test.json");
    cli::CompileOptions o;
    o.blockDir = ZEVK_TEST_MEX_DIR;
    return cli::compileModel(m, o);
}

const json& block(const json& c, const std::string& name) {
    for (const auto& b : c["blocks"]) {
        if (b["name"] == name) return b;
    }
    throw std::runtime_error("no instance " + name);
}
const json& in(const json& c, const std::string& name, size_t port) { return block(c, name)["inputs"].at(port); }
const json& out(const json& c, const std::string& name, size_t port) { return block(c, name)["outputs"].at(port); }

std::vector<json> diagnostics(const json& c, const std::string& severity = "error") {
    std::vector<json> d;
    for (const auto& x : c["diagnostics"]) {
        if (x["severity"] == severity) d.push_back(x);
    }
    return d;
}

std::string listing(const json& c) {
    std::string s;
    for (const auto& d : c["diagnostics"]) s += d.dump() + "\n";
    return s;
}

// An ADC with a uint16 vector of 3 feeding a PWM whose input takes unsigned
// integer types, and a reset that takes whatever it gets.
constexpr const char* kChain = R"({
  "name": "m",
  "blocks": [
    {"name": "adc", "block": "ZEVK_ADC", "params": ["1e-3", "[]", "[5]", "0", "[3]"]},
    {"name": "pwm", "block": "ZEVK_TCC_PWM", "params": ["[-7]", "[]", "[3]", "[]", "{}", "1e-3", "0"]},
    {"name": "rst", "block": "ZEVK_Reset", "params": ["-1"]}
  ],
  "lines": [{"from": "adc:0", "to": ["pwm:0", "rst:0"]}]
})";

TEST(Compile, CleanChainSettlesEveryPortFromItsLine) {
    json c = compile(kChain);
    EXPECT_EQ(c["status"], "clean") << listing(c);
    EXPECT_EQ(cli::compileExitStatus(c), 0);
    EXPECT_EQ(in(c, "pwm", 0)["type"], "uint16");  // taken by the block's own method
    EXPECT_EQ(in(c, "pwm", 0)["width"], 3);
    EXPECT_EQ(in(c, "rst", 0)["type"], "uint16");
    EXPECT_EQ(in(c, "rst", 0)["width"], 3);  // widths are the host's to settle
    EXPECT_EQ(in(c, "rst", 0)["from"], "adc:0");
    EXPECT_EQ(out(c, "adc", 0)["to"], json({"pwm:0", "rst:0"}));
    EXPECT_EQ(block(c, "rst")["sampleTime"]["text"], "0.001");
    EXPECT_EQ(block(c, "rst")["sampleTime"]["inheritedFrom"], "adc");
}

TEST(Compile, OpenPortsMeetThroughDefaultsInDataflowOrder) {
    // Both ends of the line are open; the receiver's default (uint16) must
    // come first, although the PWM is listed first, so the PWM accepts it.
    json c = compile(R"({
      "name": "m",
      "blocks": [
        {"name": "pwm", "block": "ZEVK_TCC_PWM", "params": ["[-7]", "[]", "[1]", "[]", "{}", "1e-3", "0"]},
        {"name": "rx", "block": "ZEVK_UART_Rx", "params": ["1e-3", "1", "-1", "0"]},
        {"name": "lcd", "block": "ZEVK_Lcd_Output",
         "params": ["[3]", "[]", "[-1 0 0 0 0 0 0 0 0 0]", "[]", "{}", "1e-3", "0"]}
      ],
      "lines": [{"from": "rx:0", "to": "pwm:0"}, {"from": "rx:1", "to": "lcd:0"}]
    })");
    EXPECT_EQ(c["status"], "clean") << listing(c);
    EXPECT_EQ(out(c, "rx", 0)["type"], "uint16");
    EXPECT_EQ(in(c, "pwm", 0)["type"], "uint16");
    // The receiver's default width reaches the display through its
    // dimension method.
    EXPECT_EQ(out(c, "rx", 1)["width"], 10);
    EXPECT_EQ(in(c, "lcd", 0)["width"], 10);
}

TEST(Compile, OutputsSettleBackwardFromTheInputsTheyDrive) {
    json c = compile(R"({
      "name": "m",
      "blocks": [
        {"name": "rx", "block": "ZEVK_UART_Rx", "params": ["1e-3", "1", "4", "0"]},
        {"name": "sar", "block": "ZEVK_ADC_HighSpeed_SAR", "params": ["[]", "[-1]", "[]", "[-1]", "{}", "1e-3", "0"]},
        {"name": "pin", "block": "ZEVK_Digital_Output_Write", "params": ["1e-3", "[4]", "[]", "0"]},
        {"name": "oc", "block": "ZEVK_OC_SW", "params": ["1e-3", "[5]", "[]", "0"]}
      ],
      "lines": [{"from": "rx:0", "to": "pin:0"}, {"from": "sar:0", "to": "oc:0"}]
    })");
    EXPECT_EQ(c["status"], "clean") << listing(c);
    EXPECT_EQ(out(c, "rx", 0)["type"], "int16");  // accepted by the receiver's own method
    EXPECT_EQ(out(c, "sar", 0)["type"], "uint16");  // no method: the host's
    EXPECT_EQ(out(c, "sar", 0)["width"], 1);
}

TEST(Compile, RefusedTypeIsOneErrorTaggedWithTheInstance) {
    json c = compile(R"({
      "name": "m",
      "blocks": [
        {"name": "qdec", "block": "ZEVK_QDEC_QORx", "params": ["1e-3", "[]", "[6]", "0"]},
        {"name": "pwm", "block": "ZEVK_TCC_PWM", "params": ["[-7]", "[]", "[1]", "[]", "{}", "1e-3", "0"]}
      ],
      "lines": [{"from": "qdec:0", "to": "pwm:0"}]
    })");
    auto errors = diagnostics(c);
    ASSERT_EQ(errors.size(), 1u) << listing(c);
    EXPECT_EQ(errors[0]["instance"], "m/pwm");
    EXPECT_EQ(errors[0]["block"], "ZEVK_TCC_PWM");
    EXPECT_EQ(errors[0]["message"], "Invalid input or output port data type");
    EXPECT_NE(errors[0]["during"].get<std::string>().find("flag 113"), std::string::npos);
    EXPECT_EQ(errors[0]["line"], 5);
    EXPECT_EQ(cli::compileExitStatus(c), 1);
}

TEST(Compile, UnconnectedInputIsAnError) {
    json c = compile(R"({"name": "m", "blocks": [{"name": "sink", "block": "ZEVK_Reset", "params": ["0.1"]}]})");
    auto errors = diagnostics(c);
    ASSERT_EQ(errors.size(), 1u) << listing(c);
    EXPECT_EQ(errors[0]["instance"], "m/sink");
    EXPECT_EQ(errors[0]["message"], "input 0 is not connected");
    EXPECT_EQ(errors[0]["pointer"], "/blocks/0");
}

TEST(Compile, MatrixShapesGoThroughTheDimensionMethods) {
    auto model = [](const char* outRecord) {
        return std::string(R"({"name": "m", "blocks": [
          {"name": "cfc", "block": "ZEVK_C_function_Call",
           "params": ["[]", "[5]", "[]", ")") + outRecord + R"(", "{}", "1e-3", "0"]},
          {"name": "lcd", "block": "ZEVK_Lcd_Output",
           "params": ["[5]", "[]", "[2 -1 4 0 0 0 0 0 0 0]", "[]", "{}", "1e-3", "0"]}],
          "lines": [{"from": "cfc:0", "to": "lcd:0"}]})";
    };
    json ok = compile(model("[2 3 4 0 0 0 0 0 0 0]"));
    EXPECT_EQ(ok["status"], "clean") << listing(ok);
    EXPECT_EQ(in(ok, "lcd", 0)["dims"], json({3, 4}));
    EXPECT_EQ(in(ok, "lcd", 0)["width"], 12);

    json bad = compile(model("[2 3 5 0 0 0 0 0 0 0]"));
    auto errors = diagnostics(bad);
    ASSERT_EQ(errors.size(), 1u) << listing(bad);  // no second complaint about the line
    EXPECT_EQ(errors[0]["instance"], "m/lcd");
    EXPECT_EQ(errors[0]["message"], "ZEVK blockset: Error setting input port dimension");
}

TEST(Compile, BusPortsCarryTheModelsBusTypes) {
    const char* model = R"({"name": "m", "busTypes": {"Frame": 30},
      "blocks": [
        {"name": "i2c", "block": "ZEVK_BUS_I2C_MASTER", "params": ["[]", "[100]", "[]", "[1]", "{'%s'}", "0.01", "0", "0"]},
        {"name": "core", "block": "ZEVK_SECONDARY_CORE", "params": ["[100]", "[]", "[1]", "[]", "{'Frame'}", "0.01", "0"]}],
      "lines": [{"from": "i2c:0", "to": "core:0"}]})";
    char text[1024];
    std::snprintf(text, sizeof text, model, "Frame");
    json c = compile(text);
    EXPECT_EQ(c["status"], "clean") << listing(c);
    EXPECT_EQ(in(c, "core", 0)["type"], "Frame");
    EXPECT_EQ(in(c, "core", 0)["typeId"], 30);

    std::snprintf(text, sizeof text, model, "Other");
    json unknown = compile(text);
    auto errors = diagnostics(unknown);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0]["instance"], "m/i2c");
    EXPECT_NE(errors[0]["message"].get<std::string>().find("\"Other\""), std::string::npos) << listing(unknown);
}

// Mistakes the host finds by itself, each in a model of its own.
TEST(Compile, HostChecks) {
    struct Case {
        const char* what;
        const char* blocks;
        const char* lines;
        const char* instance;
        const char* message;  // a part of it
    };
    const Case cases[] = {
        {"wrong parameter count", R"({"name": "a", "block": "ZEVK_ADC", "params": ["1e-3", "[]", "[5]", "0"]})", "[]",
         "m/a", "expects 5 dialog parameters, 4 given"},
        {"no such deliverable", R"({"name": "a", "block": "ZEVK_NoSuchBlock"})", "[]", "m/a", "cannot load block"},
        {"line to a port the block lacks",
         R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["1e-3", "[]", "[8]", "0"]},
            {"name": "b", "block": "ZEVK_Reset", "params": ["1e-3"]})",
         R"([{"from": "a:0", "to": "b:0"}, {"from": "a:0", "to": "b:3"}])", "m/b", "has 1 input port(s)"},
        {"two lines into one input",
         R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["1e-3", "[]", "[8 8]", "0"]},
            {"name": "b", "block": "ZEVK_Reset", "params": ["1e-3"]})",
         R"([{"from": "a:0", "to": "b:0"}, {"from": "a:1", "to": "b:0"}])", "m/b", "already driven by a:0"},
        {"fixed types that differ",
         R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["1e-3", "[]", "[8]", "0"]},
            {"name": "b", "block": "ZEVK_OC_SW", "params": ["1e-3", "[7]", "[]", "0"]})",
         R"([{"from": "a:0", "to": "b:0"}])", "m/b", "the output is boolean, the input uint32"},
        {"fixed widths that differ",
         R"({"name": "a", "block": "ZEVK_ADC", "params": ["1e-3", "[]", "[5]", "0", "[4]"]},
            {"name": "b", "block": "ZEVK_OC_SW", "params": ["1e-3", "[5]", "[]", "0"]})",
         R"([{"from": "a:0", "to": "b:0"}])", "m/b", "sizes differ: the output is 4, the input 1"},
        {"unknown data type id",
         R"({"name": "a", "block": "ZEVK_IC", "params": ["1e-3", "[]", "[105]", "0"]})", "[]", "m/a",
         "data type id 105"},
        {"function-call output in a line",
         R"({"name": "isr", "block": "ZEVK_Interrupt", "params": ["0", "0", "0", "0", "16", "0", "1", "0", "1"]},
            {"name": "b", "block": "ZEVK_Reset", "params": ["-1"]})",
         R"([{"from": "isr:0", "to": "b:0"}])", "m/b", "function-call output"},
        {"explicit rate inside a task",
         R"({"name": "isr", "block": "ZEVK_Interrupt", "params": ["0", "0", "0", "0", "16", "0", "1", "0", "1"]},
            {"name": "b", "block": "ZEVK_Digital_Input", "task": "isr", "params": ["1e-3", "[]", "[8]", "0"]})",
         "[]", "m/b", "must be inherited (-1)"},
        {"task without a function-call output",
         R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["1e-3", "[]", "[8]", "0"]},
            {"name": "b", "block": "ZEVK_Digital_Input", "task": "a", "params": ["-1", "[]", "[8]", "0"]})",
         "[]", "m/b", "has no function-call output"},
        {"negative period", R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["-2", "[]", "[8]", "0"]})",
         "[]", "m/a", "invalid sample time [-2]"},
        {"offset past the period",
         R"({"name": "a", "block": "ZEVK_Digital_Input", "params": ["[0.01 0.02]", "[]", "[8]", "0"]})", "[]", "m/a",
         "invalid sample time [0.01 0.02]"},
        {"printed error line",
         R"({"name": "a", "block": "ZEVK_TCC_PWM", "params": ["[100]", "[]", "[1]", "[]", "0", "1e-3", "0"]})",
         "[]", "m/a", "C Function Call: Error Registering Bus Datatype"},
        {"MATLAB error",
         R"({"name": "a", "block": "ZEVK_TCC_PWM", "params": ["[100]", "[]", "[1]", "[]", "{[]}", "1e-3", "0"]})",
         "[]", "m/a", "MATLAB error: Could not convert string data."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        json c = compile(std::string(R"({"name": "m", "blocks": [)") + k.blocks + R"(], "lines": )" + k.lines + "}");
        bool found = false;
        for (const auto& d : diagnostics(c)) {
            found = found || (d["instance"] == k.instance &&
                              d["message"].get<std::string>().find(k.message) != std::string::npos);
        }
        EXPECT_TRUE(found) << listing(c);
        EXPECT_EQ(cli::compileExitStatus(c), 1);
    }
}

TEST(Compile, InheritedRatesAndTasks) {
    json c = compile(R"({"name": "m", "blocks": [
        {"name": "isr", "block": "ZEVK_Interrupt", "params": ["0", "0", "0", "0", "32", "1", "2", "1e-6", "2"]},
        {"name": "a", "block": "ZEVK_Digital_Input", "task": "isr", "params": ["-1", "[]", "[8]", "0"]},
        {"name": "b", "block": "ZEVK_Reset", "params": ["-1"]},
        {"name": "c", "block": "ZEVK_Digital_Input", "params": ["-1", "[]", "[8]", "0"]},
        {"name": "d", "block": "ZEVK_Reset", "params": ["-1"]}],
      "lines": [{"from": "a:0", "to": "b:0"}, {"from": "c:0", "to": "d:0"}]})");
    EXPECT_EQ(c["errors"], 0) << listing(c);
    EXPECT_EQ(block(c, "isr")["sampleTime"]["kind"], "async");
    EXPECT_EQ(block(c, "a")["sampleTime"]["text"], "task isr");
    EXPECT_EQ(block(c, "b")["sampleTime"]["text"], "task isr");  // downstream of the task
    EXPECT_EQ(block(c, "isr")["runs"], json({"a"}));
    // Nothing gives c a rate: both c and d are only warned about.
    auto warnings = diagnostics(c, "warning");
    ASSERT_EQ(warnings.size(), 2u) << listing(c);
    EXPECT_EQ(warnings[0]["instance"], "m/c");
    EXPECT_EQ(warnings[1]["instance"], "m/d");
}

// Not models: each problem with its line (and column).
TEST(Compile, InvalidModelFilesSayWhereAndWhy) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"{\n  \"name\": \"m\",\n  \"blocks\": [\n    {\"name\": \"a\",}\n  ]\n}\n", 4, "not valid JSON"},
        {"", 1, "not valid JSON"},
        {"[1, 2]", 1, "a model is a JSON object"},
        {"{\n \"blocks\": []\n}", 1, "missing \"name\""},
        {"{\"name\": \"m\",\n \"blocks\": [],\n \"extra\": 1}", 3, "unknown key \"extra\""},
        {"{\"name\": \"m\", \"blocks\": [\n {\"name\": \"a\", \"block\": \"ZEVK_Reset\",\n  \"params\": [\"[1 2\"]}]}", 3,
         "/blocks/0/params/0: not a MATLAB literal"},
        {"{\"name\": \"m\", \"blocks\": [\n {\"name\": \"a\", \"block\": \"../lib/x\"}]}", 2, "must be a deliverable name"},
        {"{\"name\": \"m\", \"blocks\": [\n {\"name\": \"a\", \"block\": \"ZEVK_Reset\"},\n {\"name\": \"a\", \"block\": "
         "\"ZEVK_Reset\"}]}",
         3, "already used by /blocks/0"},
        {"{\"name\": \"m\", \"blocks\": [{\"name\": \"a\", \"block\": \"ZEVK_Reset\"}],\n \"lines\": [\n  {\"from\": "
         "\"a:0\", \"to\": \"b:0\"}]}",
         3, "no instance named \"b\""},
        {"{\"name\": \"m\", \"blocks\": [{\"name\": \"a\", \"block\": \"ZEVK_Reset\"}],\n \"lines\": [{\"from\": "
         "\"a\", \"to\": \"a:0\"}]}",
         2, "an endpoint is \"instance:port\""},
        {"{\"name\": \"m\", \"busTypes\": {\n \"B\": 5}, \"blocks\": []}", 2, "bus type id is 10 or more"},
        {"{\"name\": \"m\", \"busTypes\": {\"A\": 20,\n \"B\": 20}, \"blocks\": []}", 2, "share the id 20"},
        {"{\"name\": \"m\", \"blocks\": [\n {\"name\": \"a\", \"block\": \"ZEVK_Reset\", \"task\": \"a\"}]}", 2,
         "its own task"},
        {"{\"name\": \"m/x\", \"blocks\": []}", 1, "must not contain '/'"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        try {
            cli::parseModel(k.text, "f.json");
            ADD_FAILURE() << "accepted";
        } catch (const ModelError& e) {
            ASSERT_FALSE(e.problems.empty());
            const auto& p = e.problems.front();
            EXPECT_EQ(p.line, k.line) << e.what();
            EXPECT_NE(e.what().find(k.message), std::string::npos) << e.what();
            EXPECT_EQ(e.what().rfind("f.json:" + std::to_string(k.line) + ":", 0), 0u) << e.what();
        }
    }
}

TEST(Compile, CommandExitsZeroOneOrTwo) {
    const auto dir = std::filesystem::temp_directory_path() / ("zevk_compile_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return (dir / name).string();
    };
    const std::string clean = write("clean.json", kChain);
    const std::string errors =
        write("errors.json", R"({"name": "m", "blocks": [{"name": "sink", "block": "ZEVK_Reset", "params": ["0.1"]}]})");
    const std::string invalid = write("invalid.json", "{\"name\": \"m\",\n \"blocks\": 7}");
    std::ostringstream out, err;
    EXPECT_EQ(cli::compileCommand(ZEVK_TEST_MEX_DIR, clean, false, out, err), 0) << out.str();
    EXPECT_NE(out.str().find("m: compiled clean"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("in  0   uint16"), std::string::npos) << out.str();
    out.str("");
    EXPECT_EQ(cli::compileCommand(ZEVK_TEST_MEX_DIR, errors, false, out, err), 1);
    EXPECT_NE(out.str().find("error: m/sink (ZEVK_Reset): input 0 is not connected"), std::string::npos) << out.str();
    out.str("");
    EXPECT_EQ(cli::compileCommand(ZEVK_TEST_MEX_DIR, errors, true, out, err), 1);
    EXPECT_EQ(json::parse(out.str())["diagnostics"][0]["instance"], "m/sink");
    EXPECT_EQ(cli::compileCommand(ZEVK_TEST_MEX_DIR, invalid, false, out, err), 2);
    EXPECT_NE(err.str().find("invalid.json:2:"), std::string::npos) << err.str();
    EXPECT_EQ(cli::compileCommand(ZEVK_TEST_MEX_DIR, (dir / "missing.json").string(), false, out, err), 2);
    std::filesystem::remove_all(dir);
}

// The shipped examples: clean ones compile without a diagnostic, every
// instance of the mistakes model whose description starts with BUG is
// reported and no other, and together they use every block.
TEST(Compile, Examples) {
    const auto dir = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";
    std::set<std::string> used;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".json") continue;
        ++files;
        SCOPED_TRACE(entry.path().string());
        Model m = cli::readModel(entry.path().string());
        cli::CompileOptions o;
        o.blockDir = ZEVK_TEST_MEX_DIR;
        json c = cli::compileModel(m, o);
        std::set<std::string> bugs, reported;
        for (const auto& b : m.blocks) used.insert(b.block);
        std::ifstream text(entry.path());
        json raw = json::parse(text);
        for (const auto& b : raw["blocks"]) {
            if (b.value("description", "").rfind("BUG", 0) == 0) bugs.insert(m.name + "/" + b["name"].get<std::string>());
        }
        for (const auto& d : diagnostics(c)) reported.insert(d["instance"].get<std::string>());
        if (entry.path().stem() == "mistakes") {
            EXPECT_EQ(reported, bugs) << listing(c);
            EXPECT_EQ(cli::compileExitStatus(c), 1);
        } else {
            EXPECT_TRUE(c["diagnostics"].empty()) << listing(c);
        }
    }
    EXPECT_GE(files, 3u);
    std::set<std::string> all(allBlocks().begin(), allBlocks().end());
    std::vector<std::string> missing;
    std::set_difference(all.begin(), all.end(), used.begin(), used.end(), std::back_inserter(missing));
    EXPECT_TRUE(missing.empty()) << "blocks no example uses: " << json(missing).dump();
}

}  // namespace
}  // namespace zevk::test

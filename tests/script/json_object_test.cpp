#include "script/json_object.h"

#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quillmere {
namespace {

using namespace std::string_literals;

// Expected texts are written in UTF-8 here and compared as code page 936.
Text gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

JsonObject parsed(std::string_view json) {
  JsonObject o;
  o.Parse(gbk(json));
  return o;
}

TEST(JsonObject, StartsAsAnEmptyObjectNamedDa) {
  JsonObject o;
  EXPECT_EQ(o.varName, "da");
  EXPECT_EQ(o.ToJson(), "{}");
  EXPECT_EQ(o.TypeOf(), 4);
}

TEST(JsonObject, ParseResult) {
  struct Case {
    std::string text;
    bool ok;
    std::string json;  // ToJson afterwards
  } cases[] = {
      {R"({"a":1})", true, R"({"a":1})"},
      {"", false, ""},  // eval of nothing leaves the root undefined
      {" \r\n\t", false, ""},
      {"null", false, "null"},
      {" null ", false, "null"},
      {"{", false, "null"},  // a script error leaves the root null
      {"[1,]", false, "null"},
      {"{\"a\":1,}", false, "null"},
      {"{a:1}", false, "null"},
      {"{'a':1}", false, "null"},
      {"01", false, "null"},
      {"1.", false, "null"},
      {".5", false, "null"},
      {"+1", false, "null"},
      {"NaN", false, "null"},
      {"undefined", false, "null"},
      {"[1] [2]", false, "null"},
      {"\"\\x41\"", false, "null"},
      {"\"a\tb\"", false, "null"},
      {"\"\\u12\"", false, "null"},
      {"\"open", false, "null"},
      {"tru", false, "null"},
      {"\xEF\xBB\xBF{}", false, "null"},
      {"{} // comment", false, "null"},
      {"0", true, "0"},
      {"false", true, "false"},
      {"\"lone string\"", true, "\"lone string\""},
      {"[]", true, "[]"},
  };
  for (const auto& c : cases) {
    JsonObject o;
    EXPECT_EQ(o.Parse(c.text), c.ok) << c.text;
    EXPECT_EQ(o.ToJson(), c.json) << c.text;
  }
}

TEST(JsonObject, ParseThenToJsonGivesTheCompactText) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {" { \"a\" : [ 1 , 2 ] , \"b\" : { } } ", R"({"a":[1,2],"b":{}})"},
      {R"({"b":1,"a":2,"c":3})", R"({"b":1,"a":2,"c":3})"},
      // A repeated name keeps its first place and takes its last value.
      {R"({"a":1,"b":2,"a":3})", R"({"a":3,"b":2})"},
      {R"({"x":{"a":1,"a":{"b":[]}}})", R"({"x":{"a":{"b":[]}}})"},
      {R"(["\u4E2D\u6587","中文"])", R"(["中文","中文"])"},
      {R"("\/\"\\")", R"("/\"\\")"},
      {R"("\u0000\u001F\u007f")", R"("\u0000\u001f\u007f")"},
      {R"("\b\f\n\r\t")", R"("\b\f\n\r\t")"},
      {R"("\ud55c")", "\"?\""},        // not in code page 936
      {R"("\ud83d\ude00")", "\"?\""},  // one character beyond the BMP
      {R"("\ud800x")", "\"?x\""},      // a lone surrogate
      {R"([true,false,null])", R"([true,false,null])"},
      {R"([[[[]]],{"":{}}])", R"([[[[]]],{"":{}}])"},
  };
  for (const auto& c : cases) {
    JsonObject o;
    EXPECT_TRUE(o.Parse(gbk(c.in))) << c.in;
    EXPECT_EQ(o.ToJson(), gbk(c.out)) << c.in;
  }
}

TEST(JsonObject, NumbersAreDoublesInTheEnginesForm) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"15", "15"},
      {"15.0", "15"},
      {"1.5", "1.5"},
      {"-2.50", "-2.5"},
      {"-0", "0"},
      {"1E21", "1e+21"},
      {"1e20", "100000000000000000000"},
      {"123456789012345678901", "123456789012345680000"},
      {"1e-7", "1e-7"},
      {"0.000001", "0.000001"},
      {"1.25e-7", "1.25e-7"},
      {"0.1", "0.1"},
      {"9007199254740993", "9007199254740992"},  // beyond 2^53
      {"1.7976931348623157e308", "1.7976931348623157e+308"},
      {"5e-324", "5e-324"},
      {"1e400", "null"},  // infinity has no JSON text
      {"-1e400", "null"},
      {"1e-400", "0"},
      {"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000001",
       "0"},
      {"10000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000",
       "null"},
  };
  for (const auto& c : cases) {
    JsonObject o;
    EXPECT_TRUE(o.Parse("[" + c.in + "]")) << c.in;
    EXPECT_EQ(o.ToJson(), "[" + c.out + "]") << c.in;
  }
}

TEST(JsonObject, ToJsonEscapesWhatTheEnginesStringifyEscapes) {
  // Every character of each escape class, written raw into the document by a quoted value.
  struct Case {
    std::u16string value;
    std::string json;
  } cases[] = {
      {u"\"\\"s, R"("\"\\")"},
      {u"\b\t\n\f\r"s, R"("\b\t\n\f\r")"},
      {u"\u0000\u0001\u000b\u001f"s, R"("\u0000\u0001\u000b\u001f")"},
      {u"\u007f\u0080\u009f"s, R"("\u007f\u0080\u009f")"},
      {u"\u00ad"s, R"("\u00ad")"},
      {u"\u0600\u0604\u070f\u17b4\u17b5"s, R"("\u0600\u0604\u070f\u17b4\u17b5")"},
      {u"\u200c\u200f\u2028\u202f\u2060\u206f"s, R"("\u200c\u200f\u2028\u202f\u2060\u206f")"},
      {u"\ufeff\ufff0\uffff"s, R"("\ufeff\ufff0\uffff")"},
      // Neighbours of the classes are written as they are (or as "?" outside code page 936).
      {u" ~/\u00a0\u0605\u200b\u2030\u3000中"s, "\" ~/???‰\u3000中\""},
  };
  for (const auto& c : cases) {
    // The value goes in through \u escapes of a quoted value, so the raw characters land in
    // the document whatever code page 936 lacks.
    std::string literal;
    for (const char16_t unit : c.value) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
      literal += escape;
    }
    JsonObject o;
    o.SetRoot(literal);
    const Text json = o.ToJson();
    EXPECT_EQ(json, gbk(c.json)) << c.json;
    JsonObject again;
    EXPECT_TRUE(again.Parse(json));
    EXPECT_EQ(again.ToJson(), json);
  }
}

// Reads of one document through every path-taking reader, one row per path.
TEST(JsonObject, ReadsByPath) {
  const JsonObject o = parsed(R"({
    "n": 1.5, "i": 52003, "s": "text", "t": true, "f": false, "z": null, "e": {}, "a": [],
    "list": ["x", 2, null, [3, [4]], {"k": "v"}],
    "nested": {"deep": {"leaf": "yes"}}, "0": "zero", "a b": "spaced", "中文": "名字",
    "class": "reserved", "big": 1234567890123456
  })");
  struct Case {
    std::string path;
    int type;
    bool has;
    std::string text;
    int count;
  } cases[] = {
      {"n", 2, true, "1.5", 0},
      {"i", 2, true, "52003", 0},
      {"big", 2, true, "1.234567890123e+15", 0},  // NumberToText keeps 13 digits
      {"s", 6, true, "text", 0},
      {"t", 1, true, "-1", 0},
      {"f", 1, true, "0", 0},
      {"z", 0, false, "", 0},
      {"missing", 0, false, "", 0},
      {"e", 4, true, "[object Object]", 0},
      {"a", 5, true, "", 0},
      {"list", 5, true, "x,2,,3,4,[object Object]", 5},
      {"list[0]", 6, true, "x", 0},
      {"list[1]", 2, true, "2", 0},
      {"list[2]", 0, false, "", 0},
      {"list[3][1][0]", 2, true, "4", 0},
      {"list[4].k", 6, true, "v", 0},
      {"list[5]", 0, false, "", 0},
      {"list[-1]", 0, false, "", 0},
      {"list[ 4 ] . k", 6, true, "v", 0},
      {"list['4'].k", 6, true, "v", 0},
      {"list[\"04\"]", 0, false, "", 0},  // not an array index
      {"list.length", 2, true, "5", 0},
      {"s.length", 2, true, "4", 0},
      {"list[01]", -1, false, "", 0},  // not an integer literal this reader takes
      {"list[1.0]", -1, false, "", 0},
      {"list[x]", -1, false, "", 0},
      {"nested.deep.leaf", 6, true, "yes", 0},
      {"nested.deep", 4, true, "[object Object]", 1},
      {"nested['deep'][\"leaf\"]", 6, true, "yes", 0},
      {"nested['d\\x65ep']['le\\u0061f']", 6, true, "yes", 0},
      {"['0']", -1, false, "zero", 0},  // only the bracket-aware join reads it
      {"[0]", -1, false, "zero", 0},
      {"['a b']", -1, false, "spaced", 0},
      {"中文", 6, true, "名字", 0},
      {"missing.leaf", -1, false, "", 0},  // a member of undefined
      {"z.leaf", -1, false, "", 0},        // a member of null
      {"s.leaf", 0, false, "", 0},         // a member a string lacks
      {"class", -1, false, "", 0},         // a reserved word after a dot
      {"['class']", -1, false, "reserved", 0},
      {"toString", -1, true, "", 0},  // inherited methods exist but are no data
      {"list.push", -1, true, "", 0},
      {"toJSONString", -1, true, "", 0},
      {"", 4, false, "", 15},
      {"n.", -1, false, "", 0},
      {"n..n", -1, false, "", 0},
      {".n", -1, false, "", 0},
      {"n]", -1, false, "", 0},
      {"list[0", -1, false, "", 0},
      {"list['0]", -1, false, "", 0},
      {"n;", -1, false, "", 0},
      {"n // note", -1, false, "", 0},
      {"n || 1", -1, false, "", 0},
      {"1n", -1, false, "", 0},
      {"\\u006e", -1, false, "", 0},
  };
  for (const auto& c : cases) {
    const Text path = gbk(c.path);
    EXPECT_EQ(o.TypeOf(path), c.type) << c.path;
    EXPECT_EQ(o.HasMember(path), c.has) << c.path;
    EXPECT_EQ(o.GetText(path), gbk(c.text)) << c.path;
    EXPECT_EQ(o.Count(path), c.count) << c.path;
  }
}

TEST(JsonObject, BracketPathsOnARootArray) {
  const JsonObject o = parsed(R"(["first", 2.5, 1e21, true, [1, "b"]])");
  EXPECT_EQ(o.TypeOf(), 5);
  EXPECT_EQ(o.Count(), 5);
  EXPECT_EQ(o.GetText("[0]"), "first");
  EXPECT_EQ(o.TypeOf("[0]"), -1);
  EXPECT_FALSE(o.HasMember("[0]"));
  EXPECT_EQ(o.GetText("[0]", true), "\"first\"");
  EXPECT_EQ(o.Count("[4]"), 2);
  // Numbers read past TypeOf come back in the bridge's text form.
  EXPECT_EQ(o.GetText("[1]"), "2.5");
  EXPECT_EQ(o.GetText("[2]"), "1E+21");
  EXPECT_EQ(o.GetText("[3]"), "-1");
  EXPECT_EQ(o.GetText("[4]"), "1,b");
  EXPECT_EQ(o.GetText(""), "");
  EXPECT_EQ(o.GetNumber("[1]"), 0);
}

TEST(JsonObject, GetTextOfAnEmptyPathOnANumberRootIsZero) {
  // The type comes from the root, the number from "da." which fails.
  const JsonObject o = parsed("42");
  EXPECT_EQ(o.TypeOf(), 2);
  EXPECT_EQ(o.GetText(""), "0");
  EXPECT_EQ(o.ToJson(), "42");
}

TEST(JsonObject, GetNumberConvertsAsTheBridgeDoes) {
  const JsonObject o = parsed(
      R"({"n":-2.5,"s":" 12.5 ","x":"12px","t":true,"f":false,"z":null,"one":[7],"two":[1,2],"o":{}})");
  struct Case {
    std::string path;
    double number;
  } cases[] = {{"n", -2.5}, {"s", 12.5}, {"x", 0}, {"t", -1},   {"f", 0},      {"z", 0},
               {"one", 7},  {"two", 0},  {"o", 0}, {"none", 0}, {"none.x", 0}, {"[0]", 0}};
  for (const auto& c : cases) EXPECT_EQ(o.GetNumber(c.path), c.number) << c.path;
}

TEST(JsonObject, GetMemberJsonUsesTheDotJoin) {
  const JsonObject o = parsed(R"({"a":{"b":[1,"\u4e2d"]},"c":"x"})");
  EXPECT_EQ(o.GetMemberJson("a"), gbk(R"({"b":[1,"中"]})"));
  EXPECT_EQ(o.GetMemberJson("a.b[1]"), gbk("\"中\""));
  EXPECT_EQ(o.GetMemberJson("c"), "\"x\"");
  EXPECT_EQ(o.GetMemberJson("missing"), "");
  EXPECT_EQ(o.GetMemberJson(""), "");
  EXPECT_EQ(o.GetMemberJson("a.b.length"), "2");
}

TEST(JsonObject, MemberNamesListsOwnMembersInOrder) {
  TextList names{"stale"};
  EXPECT_EQ(parsed(R"({"b":1,"a":2})").MemberNames(names), 2);
  EXPECT_EQ(names, (TextList{"b", "a"}));
  EXPECT_EQ(parsed("{}").MemberNames(names), 0);
  EXPECT_TRUE(names.empty());

  // Names are kept whole, also where they hold a comma or the engine script's member names.
  const JsonObject o = parsed(
      R"({"x,y":1,"toJSONString":2,"mytoJSONString":3,"parseJSON":4,"中":5,"":6,"l":[1,2]})");
  EXPECT_EQ(o.MemberNames(names), 7);
  EXPECT_EQ(names,
            (TextList{"x,y", "toJSONString", "mytoJSONString", "parseJSON", gbk("中"), "", "l"}));
  EXPECT_EQ(o.MemberNames(names, "l"), 2);
  EXPECT_EQ(names, (TextList{"0", "1"}));
  EXPECT_EQ(o.MemberNames(names, "x"), 0);
  EXPECT_EQ(o.MemberNames(names, "[0]"), 0);
}

// One edit applied to a parsed document, and the document's JSON text afterwards.
struct EditCase {
  std::string start;
  std::function<void(JsonObject&)> edit;
  std::string json;
};

void checkEdits(const std::vector<EditCase>& cases) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    JsonObject o;
    o.Parse(gbk(cases[i].start));
    cases[i].edit(o);
    EXPECT_EQ(o.ToJson(), gbk(cases[i].json)) << "case " << i << " on " << cases[i].start;
  }
}

TEST(JsonObject, SetMemberEdits) {
  checkEdits({
      {"{}", [](JsonObject& o) { o.SetMember("a", "x"); }, R"({"a":"x"})"},
      {R"({"a":1,"b":2})", [](JsonObject& o) { o.SetMember("a", "x"); }, R"({"a":"x","b":2})"},
      {"{}", [](JsonObject& o) { o.SetMember("a", R"(it\'s \u4e2d\x41\n\\)"); },
       R"({"a":"it's 中A\n\\"})"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "it's"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "two\r\nlines"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "ends\\"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("a", gbk("中文")); }, R"({"a":"中文"})"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "[1,2]", true); }, R"({"a":[1,2]})"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "", true); }, R"({"a":{}})"},
      {"{}", [](JsonObject& o) { o.SetMember("a", "alert(1)", true); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("", "x"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("[0]", "x"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("a b", "x"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("['a b']", "x"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMember("x['a b']", "x"); }, "{}"},
      {R"({"x":{}})", [](JsonObject& o) { o.SetMember("x['a b']", "y"); }, R"({"x":{"a b":"y"}})"},
      {R"({"x":{}})", [](JsonObject& o) { o.SetMember("x.y.z", "v"); }, R"({"x":{}})"},
      {R"({"x":"s"})", [](JsonObject& o) { o.SetMember("x.y", "v"); }, R"({"x":"s"})"},
      {R"({"x":[0]})", [](JsonObject& o) { o.SetMember("x[2]", "v"); }, R"({"x":[0,null,"v"]})"},
      {R"({"x":[1,2,3]})", [](JsonObject& o) { o.SetMemberNumber("x.length", 1); }, R"({"x":[1]})"},
      {R"({"x":[1]})", [](JsonObject& o) { o.SetMember("x.name", "v"); }, R"({"x":[1]})"},
      {"null", [](JsonObject& o) { o.SetMember("a", "x"); }, "null"},
      {"{}", [](JsonObject& o) { o.SetMemberJson("a", R"({"b":"\u4e2d"})"); },
       R"({"a":{"b":"中"}})"},
      {"{}", [](JsonObject& o) { o.SetMemberJson("a", "{"); }, "{}"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", 15); }, R"({"a":15})"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", 0.1 + 0.2); }, R"({"a":0.3})"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", 1e21); }, R"({"a":1e+21})"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", 1.0 / 3); }, R"({"a":0.3333333333333})"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", std::numeric_limits<double>::infinity()); },
       "{}"},
      {"{}", [](JsonObject& o) { o.SetMemberNumber("a", std::nan("")); }, "{}"},
  });
}

TEST(JsonObject, AMemberSetToNothingIsUndefined) {
  // "eval()" gives undefined: the member exists and counts, but has no JSON text.
  JsonObject o = parsed(R"({"a":1})");
  o.SetMemberJson("b", "");
  EXPECT_EQ(o.ToJson(), R"({"a":1})");
  EXPECT_EQ(o.Count(), 2);
  TextList names;
  EXPECT_EQ(o.MemberNames(names), 2);
  EXPECT_EQ(o.TypeOf("b"), 0);
  EXPECT_FALSE(o.HasMember("b"));
  EXPECT_EQ(o.GetMemberJson("b"), "");
  o.RemoveMember("b");
  EXPECT_EQ(o.Count(), 1);
}

TEST(JsonObject, ArrayAndRootEdits) {
  checkEdits({
      {"{}", [](JsonObject& o) { o.AppendElement("x"); }, R"(["x"])"},
      {"[1]", [](JsonObject& o) { o.AppendElement("x"); }, R"([1,"x"])"},
      {"[1]", [](JsonObject& o) { o.AppendElement("{\"a\":[true]}", "", true); },
       R"([1,{"a":[true]}])"},
      {"[1]", [](JsonObject& o) { o.AppendElement("not json", "", true); }, "[1]"},
      {"[1]", [](JsonObject& o) { o.AppendElement("it's"); }, "[1]"},
      {"{}", [](JsonObject& o) { o.AppendElement("", "", true); }, "[]"},  // "push()"
      {"{}", [](JsonObject& o) { o.AppendElement("v", "list"); }, R"({"list":["v"]})"},
      {R"({"list":"s"})", [](JsonObject& o) { o.AppendElement("v", "list"); }, R"({"list":["v"]})"},
      {R"({"list":[1]})", [](JsonObject& o) { o.AppendElement("2", "list", true); },
       R"({"list":[1,2]})"},
      {"{}", [](JsonObject& o) { o.AppendElement("v", "a.b"); }, "{}"},
      {R"({"s":"t"})", [](JsonObject& o) { o.AppendElement("v", "s.b"); }, R"({"s":"t"})"},
      {R"({"a":[[]]})", [](JsonObject& o) { o.AppendElement("v", "a[0]"); }, R"({"a":[["v"]]})"},
      {"null", [](JsonObject& o) { o.AppendElement("v"); }, R"(["v"])"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(0, "x"); }, R"(["x",2])"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(2, "[3]", true); }, "[1,2,[3]]"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(4, "x"); }, R"([1,2,null,null,"x"])"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(0, "", true); }, "[1,2]"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(-1, "x"); }, "[1,2]"},
      // Holes are held one by one, so an assignment far past the end is refused.
      {"[1,2]", [](JsonObject& o) { o.SetElement(1 << 30, "x"); }, "[1,2]"},
      {"[1,2]", [](JsonObject& o) { o.SetElement(5, "x"); }, R"([1,2,null,null,null,"x"])"},
      {R"({"a":1})", [](JsonObject& o) { o.SetElement(3, "x"); }, R"({"a":1,"3":"x"})"},
      {"\"s\"", [](JsonObject& o) { o.SetElement(0, "x"); }, "\"s\""},
      {"[1,2,3]", [](JsonObject& o) { o.RemoveElement(1); }, "[1,3]"},
      {"[1,2,3]", [](JsonObject& o) { o.RemoveElement(-1); }, "[1,2]"},
      {"[1,2,3]", [](JsonObject& o) { o.RemoveElement(-9); }, "[2,3]"},
      {"[1,2,3]", [](JsonObject& o) { o.RemoveElement(3); }, "[1,2,3]"},
      {R"({"0":1})", [](JsonObject& o) { o.RemoveElement(0); }, R"({"0":1})"},
      {R"({"a":1,"b":2,"c":3})", [](JsonObject& o) { o.RemoveMember("b"); }, R"({"a":1,"c":3})"},
      {R"({"a":{"b":1,"c":2}})", [](JsonObject& o) { o.RemoveMember("a.b"); }, R"({"a":{"c":2}})"},
      {R"({"a":[1,2,3]})", [](JsonObject& o) { o.RemoveMember("a[0]"); }, R"({"a":[null,2,3]})"},
      {R"({"a":1})", [](JsonObject& o) { o.RemoveMember("zz"); }, R"({"a":1})"},
      {R"({"a":1})", [](JsonObject& o) { o.RemoveMember("a;"); }, R"({"a":1})"},
      {R"({"a":1})", [](JsonObject& o) { o.Reset(5); }, "[]"},
      {"[1]", [](JsonObject& o) { o.Reset(0); }, "{}"},
      {"[1]", [](JsonObject& o) { o.Reset(4); }, "{}"},
      {"[1]", [](JsonObject& o) { o.Reset(3); }, "[1]"},
      {"[1]", [](JsonObject& o) { o.Reset(6); }, "[1]"},
      {"[1]", [](JsonObject& o) { o.Clear(); }, "{}"},
      {"[1]", [](JsonObject& o) { o.SetRoot("x"); }, R"("x")"},
      {"[1]", [](JsonObject& o) { o.SetRoot(R"({"k":[]})", true); }, R"({"k":[]})"},
      {"[1]", [](JsonObject& o) { o.SetRoot("", true); }, "[1]"},
      {"[1]", [](JsonObject& o) { o.SetRoot("x'y"); }, "[1]"},
      {"[1]", [](JsonObject& o) { o.SetRoot("null", true); }, "null"},
  });
}

TEST(JsonObject, HolesAreNotElements) {
  JsonObject o = parsed("[1]");
  o.SetElement(3, "x");
  EXPECT_EQ(o.Count(), 2);
  TextList names;
  EXPECT_EQ(o.MemberNames(names), 2);
  EXPECT_EQ(names, (TextList{"0", "3"}));
  EXPECT_EQ(o.GetNumber("length"), 4);
  EXPECT_EQ(o.GetElementText(1, {}, true), "");
  EXPECT_EQ(o.GetText(""), "");  // "da." fails
  JsonObject wrapped = parsed(R"({"a":[1]})");
  wrapped.SetMember("a[3]", "x");
  EXPECT_EQ(wrapped.GetText("a"), "1,,,x");
  EXPECT_EQ(wrapped.TypeOf("a[2]"), 0);
}

TEST(JsonObject, ElementReads) {
  const JsonObject o = parsed(R"({"list":[{"k":"v"},"s",7.25,false],"top":1})");
  EXPECT_EQ(o.GetElementText(0, "list", true), R"({"k":"v"})");
  EXPECT_EQ(o.GetElementText(0, "list"), "[object Object]");
  EXPECT_EQ(o.GetElementText(1, "list"), "s");
  EXPECT_EQ(o.GetElementText(1, "list", true), "\"s\"");
  EXPECT_EQ(o.GetElementText(2, "list"), "7.25");
  EXPECT_EQ(o.GetElementText(3, "list"), "0");
  EXPECT_EQ(o.GetElementText(4, "list"), "");
  EXPECT_EQ(o.GetElementText(-1, "list"), "");
  EXPECT_EQ(o.GetElementText(0, "missing.x"), "");
  EXPECT_EQ(o.GetElementText(0, "[0]"), "");  // the optional join makes "da.[0][0]"

  const JsonObject element = o.GetElementObject(0, "list");
  EXPECT_EQ(element.ToJson(), R"({"k":"v"})");
  EXPECT_EQ(element.GetText("k"), "v");
  EXPECT_EQ(o.GetElementObject(1, "list").TypeOf(), 6);
  const JsonObject none = o.GetElementObject(9, "list");
  EXPECT_EQ(none.TypeOf(), 0);
  EXPECT_EQ(none.ToJson(), "");

  const JsonObject rootList = parsed(R"([[1,2],"a"])");
  EXPECT_EQ(rootList.GetElementText(0), "1,2");
  EXPECT_EQ(rootList.GetElementObject(0).Count(), 2);
}

TEST(JsonObject, MemberObjectsAreIndependentCopiesThroughJsonText) {
  JsonObject o = parsed(R"({"a":{"b":[1,2],"c":"\ud55c"},"list":[{"x":1}]})");
  JsonObject a = o.GetMemberObject("a");
  EXPECT_EQ(a.Count("b"), 2);
  // The copy travelled as code page 936 text, so what the code page lacks is lost.
  EXPECT_EQ(a.GetText("c"), "?");
  a.SetMember("d", "new");
  EXPECT_FALSE(o.HasMember("a.d"));
  EXPECT_EQ(o.GetMemberObject("list[0]").GetText("x"), "1");
  EXPECT_EQ(o.GetMemberObject("[0]").ToJson(), "");
  const JsonObject missing = o.GetMemberObject("nothing");
  EXPECT_EQ(missing.ToJson(), "");
}

TEST(JsonObject, CopiesShareTheDocumentUntilOneParses) {
  JsonObject first = parsed(R"({"a":1})");
  JsonObject second(first);
  second.SetMember("b", "shared");
  EXPECT_EQ(first.GetText("b"), "shared");
  JsonObject third;
  third = first;
  EXPECT_EQ(third.Count(), 2);
  EXPECT_TRUE(second.Parse("[1]"));
  EXPECT_EQ(first.ToJson(), R"({"a":1,"b":"shared"})");
  EXPECT_EQ(second.ToJson(), "[1]");
  first.Init();
  EXPECT_EQ(first.ToJson(), "{}");
  EXPECT_EQ(third.ToJson(), R"({"a":1,"b":"shared"})");
}

TEST(JsonObject, WithoutADocumentEverythingFails) {
  JsonObject o;
  o.engine.reset();
  EXPECT_EQ(o.ToJson(), "");
  EXPECT_EQ(o.TypeOf(), -1);
  EXPECT_EQ(o.Count(), 0);
  EXPECT_FALSE(o.HasMember("a"));
  o.SetMember("a", "x");
  TextList names{"stale"};
  EXPECT_EQ(o.MemberNames(names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(o.Parse("{}"));  // parsing starts a new document
}

// The answers of the translation service, read as the translation request reads them.
TEST(JsonObject, TranslationReadSequence) {
  // The service escapes non-ASCII characters and "/".
  const std::string answer =
      R"({"from":"en","to":"zh","trans_result":[{"src":"apple","dst":"\u82f9\u679c"},)"
      R"({"src":"red\/green","dst":"\u7ea2\/\u7eff"},{"src":"a \"quote\"","dst":"\u201c\u5f15\u53f7\u201d"}]})";
  for (const Text& text : {Text(answer), gbk(R"({"from":"en","to":"zh","trans_result":[)"
                                             R"({"src":"apple","dst":"苹果"},)"
                                             R"({"src":"red/green","dst":"红/绿"},)"
                                             R"({"src":"a \"quote\"","dst":"“引号”"}]})")}) {
    JsonObject o;
    ASSERT_TRUE(o.Parse(text));
    EXPECT_FALSE(o.HasMember("error_code"));
    ASSERT_EQ(o.Count("trans_result"), 3);
    Text joined;
    for (int i = 0; i < 3; ++i) {
      if (i > 0) joined += "\r\n";
      joined += o.GetText("trans_result[" + NumberToText(i) + "].dst");
    }
    EXPECT_EQ(joined, gbk("苹果\r\n红/绿\r\n“引号”"));
  }

  JsonObject error;
  ASSERT_TRUE(error.Parse(R"({"error_code":"54001","error_msg":"Invalid Sign"})"));
  EXPECT_TRUE(error.HasMember("error_code"));
  EXPECT_EQ(error.GetText("error_code"), "54001");
  EXPECT_EQ(error.GetText("error_msg"), "Invalid Sign");
  EXPECT_EQ(error.Count("trans_result"), 0);

  ASSERT_TRUE(error.Parse(R"({"error_code":52003,"error_msg":"UNAUTHORIZED USER"})"));
  EXPECT_EQ(error.GetText("error_code"), "52003");

  // Answers of other shapes: the request reads as many elements as Count gives.
  const std::pair<const char*, int> shapes[] = {{R"({"trans_result":"none"})", 0},
                                                {R"({"trans_result":{"0":{"dst":"x"}}})", 1},
                                                {R"({"trans_result":null})", 0},
                                                {R"({"trans_result":[null,{}]})", 2},
                                                {R"({"other":1})", 0}};
  for (const auto& [text, count] : shapes) {
    JsonObject o;
    ASSERT_TRUE(o.Parse(text));
    EXPECT_FALSE(o.HasMember("error_code"));
    EXPECT_EQ(o.Count("trans_result"), count) << text;
    EXPECT_EQ(o.GetText("trans_result[0].dst"), count == 1 ? "x" : "") << text;
  }
}

TEST(JsonObject, ManyEntriesAndMembers) {
  std::string answer = R"({"from":"zh","to":"en","trans_result":[)";
  constexpr int kEntries = 10000;
  for (int i = 0; i < kEntries; ++i) {
    if (i > 0) answer += ',';
    answer += R"({"src":"\u6570","dst":"n)" + std::to_string(i) + "\"}";
  }
  answer += "]}";
  JsonObject o;
  ASSERT_TRUE(o.Parse(answer));
  ASSERT_EQ(o.Count("trans_result"), kEntries);
  for (int i = 0; i < kEntries; ++i) {
    ASSERT_EQ(o.GetText("trans_result[" + std::to_string(i) + "].dst"), "n" + std::to_string(i));
  }

  // Many members, each written twice: first places, last values.
  std::string wide = "{";
  constexpr int kMembers = 50000;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < kMembers; ++i) {
      if (wide.size() > 1) wide += ',';
      wide += "\"m" + std::to_string(i) + "\":" + std::to_string(round * kMembers + i);
    }
  }
  wide += "}";
  ASSERT_TRUE(o.Parse(wide));
  EXPECT_EQ(o.Count(), kMembers);
  EXPECT_EQ(o.GetText("m0"), std::to_string(kMembers));
  EXPECT_EQ(o.GetText("m49999"), std::to_string(2 * kMembers - 1));
  TextList names;
  o.MemberNames(names);
  EXPECT_EQ(names[1], "m1");
}

TEST(JsonObject, NestingIsBoundedAt1000Levels) {
  const auto nested = [](int depth, char open, char close, std::string_view inner) {
    std::string text;
    for (int i = 0; i < depth; ++i)
      text += open == '{' ? std::string("{\"a\":") : std::string(1, open);
    text += inner;
    text.append(static_cast<std::size_t>(depth), close);
    return text;
  };
  JsonObject o;
  EXPECT_TRUE(o.Parse(nested(1000, '[', ']', "")));
  EXPECT_FALSE(o.Parse(nested(1001, '[', ']', "")));
  EXPECT_EQ(o.ToJson(), "null");
  EXPECT_TRUE(o.Parse(nested(999, '{', '}', "{}")));
  EXPECT_FALSE(o.Parse(nested(1000, '{', '}', "{}")));
  EXPECT_FALSE(o.Parse(nested(100000, '[', ']', "")));
  EXPECT_FALSE(o.Parse(std::string(100000, '[')));
  EXPECT_FALSE(o.Parse(nested(100000, '{', '}', "1")));

  // Edits may make a document deeper than a text can be read; it still writes and frees.
  ASSERT_TRUE(o.Parse(nested(1000, '[', ']', "")));
  const Text deep = o.ToJson();
  JsonObject outer;
  outer.SetMemberJson("a", deep);
  std::string innermost = "a";
  constexpr int kPushes = 20;
  for (int i = 0; i < kPushes; ++i) {
    for (int j = 0; j < 999; ++j) innermost += "[0]";
    outer.AppendElement(deep, innermost, true);
    innermost += "[0]";
  }
  const Text json = outer.ToJson();
  EXPECT_EQ(json.size(), std::string(R"({"a":})").size() + deep.size() * (kPushes + 1));
  JsonObject again;
  EXPECT_FALSE(again.Parse(json));
  EXPECT_EQ(outer.GetMemberObject("a").ToJson(), "null");
}

// Random bytes and mangled JSON through the readers: nothing may crash, and whatever parses
// writes a JSON text that reads back to itself.
TEST(JsonObject, SurvivesRandomInput) {
  std::mt19937 random(20240601);
  const std::string seeds[] = {
      R"({"trans_result":[{"src":"a","dst":"\u82f9\/"}],"error_code":"0"})",
      R"([1,-2.5e+3,true,false,null,{"":[]},"\ud800\udc00\\\""])",
      "{\"\xD6\xD0\":\"\xCE\xC4\"}",
  };
  const std::string alphabet = "{}[]\",:\\/u0123456789abcdefABCDEF.-+eE tnrl\x80\xA1\xFF";
  const char* paths[] = {"trans_result[0].dst", "error_code", "[0]", "", "a.b", "['\\u0061']"};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    if (round % 2 == 0) {
      const std::size_t length = random() % 64;
      for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(random() % 256);
    } else {
      text = seeds[random() % std::size(seeds)];
      for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
        const std::size_t at = random() % (text.size() + 1);
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 3) {
          case 0:
            text.insert(at, 1, c);
            break;
          case 1:
            if (at < text.size()) text.erase(at, 1);
            break;
          default:
            if (at < text.size()) text[at] = c;
        }
      }
    }
    JsonObject o;
    const bool ok = o.Parse(text);
    // The same bytes as a path and a value on a document that has something to find.
    JsonObject fixed;
    fixed.Parse(seeds[0]);
    fixed.GetText(text);
    fixed.TypeOf(text);
    fixed.HasMember(text);
    fixed.Count(text);
    fixed.SetMember(text, text);
    fixed.SetMemberJson(text, text);
    fixed.AppendElement(text, text, round % 4 == 1);
    fixed.RemoveMember(text);
    ASSERT_TRUE(JsonObject().Parse(fixed.ToJson())) << text;
    for (const char* path : paths) {
      o.GetText(path);
      o.GetText(path, true);
      o.TypeOf(path);
      o.Count(path);
    }
    const Text json = o.ToJson();
    if (ok && json != "null") {  // an infinite root number writes null
      JsonObject again;
      ASSERT_TRUE(again.Parse(json)) << text;
      ASSERT_EQ(again.ToJson(), json) << text;
    }
  }
}

}  // namespace
}  // namespace quillmere

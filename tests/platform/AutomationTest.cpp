#include <gtest/gtest.h>
#include <thread>

#include "automation/AutomationError.h"
#include "automation/ComInit.h"
#include "automation/DispatchObject.h"
#include "automation/OleObject.h"
#include "automation/ProgIdTable.h"

using namespace automation;

namespace {

// A small server: a property, a method with named parameters, and a child object.
class Sample : public DispatchObject {
public:
    Sample()
    {
        addProperty("Visible", [this] { return Variant::boolean(visible); },
                    [this](const Variant& v) { visible = v.asBool(); });
        addMethod("Open", {"FileName", "ReadOnly"}, [this](const DispatchArgs& args) {
            opened = args.at(0).asString();
            readOnly = args.has(1) && args.at(1).asBool();
            return Variant();
        });
        addProperty("Child", [] { return Variant(DispatchPtr(std::make_shared<Sample>())); });
    }
    bool visible = true;
    std::string opened;
    bool readOnly = false;
};

struct ComThread {
    ComThread() { CoInitialize(); }
    ~ComThread() { CoUninitialize(); }
};

} // namespace

TEST(Variant, BooleanTrueIsMinusOneAndComparesByValue)
{
    EXPECT_EQ(Variant::boolean(true).boolValue(), -1);
    EXPECT_EQ(Variant::boolean(false).boolValue(), 0);
    EXPECT_EQ(Variant(3), Variant(3));
    EXPECT_FALSE(Variant(3) == Variant("3"));
    EXPECT_TRUE(byRef(Variant("x")).isByRef());
    EXPECT_FALSE(Variant("x").isByRef());
    EXPECT_THROW(Variant("x").asInt(), AutomationError);
}

TEST(Dispatch, ResolvesMembersAndNamedArgumentsIgnoringCase)
{
    auto server = std::make_shared<Sample>();
    OleObject object(server);
    object.put("visible", Variant::boolean(false));
    EXPECT_FALSE(server->visible);
    EXPECT_EQ(object.value("VISIBLE").boolValue(), 0);
    object.call("open", {}, {{"readonly", Variant::boolean(true)}, {"filename", byRef(Variant("a.doc"))}});
    EXPECT_EQ(server->opened, "a.doc");
    EXPECT_TRUE(server->readOnly);
    EXPECT_FALSE(object.get("child").isNull());
}

TEST(Dispatch, UnknownNamesAndMissingArgumentsRaiseWithTheMemberName)
{
    OleObject object(std::make_shared<Sample>());
    try {
        object.call("Close");
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.member(), "Close");
        EXPECT_EQ(e.serverText(), "Unknown name.");
    }
    EXPECT_THROW(object.call("Open", {}, {{"Bogus", 1}}), AutomationError);
    EXPECT_THROW(object.call("Open"), AutomationError);
    EXPECT_THROW(object.get("Visible"), AutomationError); // a value, not an object
}

TEST(ProgIdTable, CreatesByCaseInsensitiveNameOnlyOnInitialisedThreads)
{
    RegisterClassFactory("Sample.Application", [] { return std::make_shared<Sample>(); });
    std::thread([] {
        EXPECT_THROW(CoCreateInstance("sample.application"), AutomationError);
        ComThread com;
        EXPECT_NE(CoCreateInstance("SAMPLE.application"), nullptr);
        EXPECT_THROW(CoCreateInstance("nothing.here"), AutomationError);
    }).join();
    RevokeClassFactory("sample.application");
    ComThread com;
    EXPECT_THROW(CoCreateInstance("Sample.Application"), AutomationError);
}

TEST(ComInit, CountsPerThread)
{
    std::thread([] {
        EXPECT_FALSE(IsComInitialized());
        CoInitialize();
        CoInitialize();
        CoUninitialize();
        EXPECT_TRUE(IsComInitialized());
        CoUninitialize();
        EXPECT_FALSE(IsComInitialized());
    }).join();
}

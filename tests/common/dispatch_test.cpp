#include <gtest/gtest.h>

#include "common/component_registry.h"
#include "common/dispatch.h"
#include "common/host_startup.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "support/temp_home.h"

using namespace zephra::common;

namespace {

class Counter : public DispatchObject<Counter> {
 public:
  static constexpr DispId kValue = 1;
  static constexpr DispId kAddTo = 2;
  static constexpr DispId kChanged = 100;

  std::string TypeName() const override { return "Counter"; }

  static const DispatchTable<Counter>& Table() {
    static const DispatchTable<Counter> table = [] {
      DispatchTable<Counter> t;
      t.Property(
          kValue, "Value", [](Counter& c, Args&) { return Variant(c.value); },
          [](Counter& c, Args&, const Variant& v) {
            c.value = v.ToLong();
            c.FireEvent(kChanged, {Variant(c.value)});
          });
      // AddTo(ByRef total): adds the counter's value to the caller's variable.
      t.Method(kAddTo, "AddTo", [](Counter& c, Args& args) {
        if (args.empty()) RaisePlatformError(err::ArgumentNotOptional, "Counter");
        args[0] = Variant(args[0].ToLong() + c.value);
        return Variant();
      });
      return t;
    }();
    return table;
  }

  int32_t value = 0;
};

}  // namespace

TEST(Dispatch, MembersByNumberAndByNameWithoutRegardToCase) {
  auto c = std::make_shared<Counter>();
  c->Put(Counter::kValue, Variant(5));
  EXPECT_EQ(c->GetByName("vALUE").ToLong(), 5);
  c->PutByName("value", Variant("7"));
  EXPECT_EQ(c->Get(Counter::kValue).ToLong(), 7);
  EXPECT_EQ(c->IdOfName("ADDTO"), Counter::kAddTo);
  EXPECT_FALSE(c->IdOfName("Missing"));
}

TEST(Dispatch, ByReferenceArgumentsComeBackToTheCaller) {
  auto c = std::make_shared<Counter>();
  c->value = 3;
  Args args{Variant(10)};
  c->CallByName("AddTo", args);
  EXPECT_EQ(args[0].ToLong(), 13);
}

TEST(Dispatch, UnknownMembersAndMissingArgumentsRaise) {
  auto c = std::make_shared<Counter>();
  try {
    c->Call(99);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), err::MemberNotSupported);
    EXPECT_EQ(e.Source(), "Counter");
  }
  EXPECT_THROW(c->CallByName("Nothing"), AutomationError);
  try {
    c->Call(Counter::kAddTo);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), err::ArgumentNotOptional);
  }
}

TEST(Dispatch, EventsReachConnectedSinksInOrderAndStopAfterDisconnect) {
  auto c = std::make_shared<Counter>();
  std::vector<std::string> seen;
  int second = 0;
  auto first = std::make_shared<FunctionSink>([&](Dispatch&, DispId id, Args& a) {
    seen.push_back("first " + std::to_string(id) + " " + a[0].ToString());
    // A sink that disconnects another while the event runs: that one must not be called.
    c->Disconnect(second);
  });
  auto other = std::make_shared<FunctionSink>([&](Dispatch&, DispId, Args&) { seen.push_back("second"); });
  const int firstCookie = c->Connect(first);
  second = c->Connect(other);
  c->Put(Counter::kValue, Variant(4));
  EXPECT_EQ(seen, (std::vector<std::string>{"first 100 4"}));
  c->Disconnect(firstCookie);
  c->Put(Counter::kValue, Variant(5));
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(c->SinkCount(), 0u);
}

TEST(ComponentRegistry, CreatesByProgIdWithoutRegardToCaseAndRecordsTheClass) {
  zephra::testing::TempHome home;
  SetLanguage(kLanguageEnglish);
  ComponentInfo info{"QVXHOST.Application", "{0D4C3B2A-1111-2222-3333-444455556666}",
                     home.Path() + "/host/qvxhost --automation", false};
  ComponentRegistry::Instance().Register(info, [] { return std::make_shared<Counter>(); });
  auto obj = CreateObject("qvxhost.application");
  ASSERT_TRUE(obj);
  EXPECT_EQ(obj->TypeName(), "Counter");

  RegEntry reg;
  EXPECT_EQ(reg.GetClassID("QVXHost.Application"), info.classId);
  EXPECT_EQ(reg.LocateQVXAppPath(), home.Path() + "/host/");
  reg.RemoveProgID("QVXHOST.Application");
  EXPECT_EQ(reg.GetClassID("QVXHOST.Application"), "");
  ComponentRegistry::Instance().Unregister("QVXHOST.Application");
}

TEST(ComponentRegistry, UnknownProgIdIsError429) {
  zephra::testing::TempHome home;
  try {
    CreateObject("Nobody.Here");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), err::CannotCreateComponent);
  }
  RegEntry reg;
  // Without a host registration the look-up of its folder fails like opening a missing key.
  try {
    reg.LocateQVXAppPath();
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 5001);
    EXPECT_EQ(e.Source(), "RegEntry.OpenInternal");
  }
}

TEST(HostStartup, OffLineTheOptionFileIsWrittenOnceIntoTheHostsFolder) {
  zephra::testing::TempHome home;
  SetLanguage(kLanguageEnglish);
  EXPECT_FALSE(EnsureHostStartupOptions("OFFLINE"));  // no host registered yet
  const std::string folder = home.Path() + "/host";
  MakeDirectories(folder);
  ComponentRegistry::Instance().Register({"QVXHOST.Application", "{1}", folder + "/qvxhost --automation", false},
                                         [] { return std::make_shared<Counter>(); });
  const std::string file = folder + "/AutomationStartupOptions.txt";
  EXPECT_FALSE(EnsureHostStartupOptions("CMM-2"));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(EnsureHostStartupOptions("offline"));
  EXPECT_EQ(zephra::testing::ReadAll(file), "/f\r\n");
  WriteFileAtomically(file, "/f /x\r\n");
  EXPECT_TRUE(EnsureHostStartupOptions("OFFLINE"));
  EXPECT_EQ(zephra::testing::ReadAll(file), "/f /x\r\n");  // an existing file is left as it is
  ComponentRegistry::Instance().Unregister("QVXHOST.Application");
}

#include "framework/render/TIWScriptEvents.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(TIWScriptEventsTest, HookedCodeBecomesFunctionsWithTheReturnFixUp) {
  TIWScriptEvents events;
  events.HookEvent("OnClick", "  return go()  ");
  events.HookEvent("onclick", "log(1)");
  events.HookEvent("OnFocus", "   ");
  events.HookEvent("OnLoad", "start();return false;");
  const TIWScriptEvents::Rendered r = events.RenderEvents("B1");
  EXPECT_EQ(
      "function B1_onclick(event) {\r\nreturn go();}\r\n"
      "function B1_onclick0(event) {\r\nlog(1)\r\nreturn true;}\r\n"
      "function B1_onload(event) {\r\nstart();return false;}\r\n",
      r.functions);
  EXPECT_EQ(
      "    B1IWCL.HookEvent(\"click\",B1_onclick);\r\n"
      "    B1IWCL.HookEvent(\"click\",B1_onclick0);\r\n",
      r.iwclLines);
  EXPECT_EQ("B1_onload()", r.onload);
}

TEST(TIWScriptEventsTest, DefaultHandlersOnceWithTheirOptions) {
  TIWScriptEvents events;
  events.HookDefaultHandler("OnChange");
  events.HookDefaultHandler("OnClick", "Lock");
  events.HookDefaultHandler("onchange", "Lock");
  events.HookDefaultHandler("OnClick", "Other");
  events.HookDefaultHandler("OnClick");
  EXPECT_EQ("OnChange:Lock;OnClick:Other,Lock", events.DefaultHandlers());
  events.SetProp("ImplicitSubmit", "true");
  events.SetProp("ImplicitSubmit", "false");
  EXPECT_EQ(
      "    E1IWCL.HookDefaultHandlers(\"OnChange:Lock;OnClick:Other,Lock\");\r\n"
      "    E1IWCL.SetProps({\"ImplicitSubmit\":false});\r\n",
      events.RenderEvents("E1").iwclLines);
  events.Clear();
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace orv

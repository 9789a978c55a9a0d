// The parameter manager on the stand-in host: ownership, refusals with their
// traces, lookups and removal.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CHostServices.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterManager.h"
#include "AAX_VAutomationDelegate.h"
#include "StandInHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace aaxhost;

namespace
{
AAX_IParameter* NewSwitch(const char* id, const char* name)
{
  return new AAX_CParameter<bool>(id, AAX_CString(name), false, AAX_CBinaryTaperDelegate<bool>(),
                                  AAX_CBinaryDisplayDelegate<bool>("Off", "On"), true);
}

struct ManagerTest : ::testing::Test
{
  StandInHost host;
  AAX_VAutomationDelegate automation{host.Unknown()};
  ManagerTest() { AAX_CHostServices::Set(host.Unknown()); }
  ~ManagerTest() override { AAX_CHostServices::Set(nullptr); }
};
} // namespace

TEST_F(ManagerTest, AddedParametersGetTheDelegateOnlyAfterInitialize)
{
  AAX_CParameterManager m;
  m.AddParameter(NewSwitch("early", "Early"));
  m.Initialize(&automation);
  m.AddParameter(NewSwitch("1", "Swap"));
  EXPECT_EQ(host.Automation()->Registered(), std::set<std::string>{"1"});
  m.RemoveParameterByID("1"); // deleted, so unregistered
  EXPECT_TRUE(host.Automation()->Registered().empty());
  EXPECT_EQ(m.NumParameters(), 1);
}

TEST_F(ManagerTest, NullAndDuplicateParametersAreRefusedWithATrace)
{
  AAX_CParameterManager m;
  AAX_IParameter* first = NewSwitch("1", "Swap");
  m.AddParameter(first);
  m.AddParameter(nullptr);
  std::unique_ptr<AAX_IParameter> duplicate(NewSwitch("1", "Other")); // stays ours
  m.AddParameter(duplicate.get());
  EXPECT_EQ(m.NumParameters(), 1);
  EXPECT_EQ(m.GetParameterByID("1"), first);
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_EQ(traces[0].priority, 0x04000000);
  EXPECT_EQ(traces[0].message, "AAX_CParameterManager::AddParameter() - Attempt to add a null "
                               "parameter into AAX_CParameterManager");
  EXPECT_EQ(traces[1].priority, 0x04000000);
  EXPECT_EQ(traces[1].message, "AAX_CParameterManager::AddParameter() - Duplicate AAX_IParameter "
                               "ID Inserted into AAX_CParameterManager");
}

TEST_F(ManagerTest, LookupsByIdentifierIndexAndNameFollowInsertionOrder)
{
  AAX_CParameterManager m;
  AAX_IParameter* a = NewSwitch("MasterBypassID", "Bypass");
  AAX_IParameter* b = NewSwitch("1", "Same");
  AAX_IParameter* c = NewSwitch("2", "Same");
  m.AddParameter(a);
  m.AddParameter(b);
  m.AddParameter(c);
  const AAX_CParameterManager& cm = m;
  EXPECT_EQ(cm.GetParameterByID("2"), c);
  EXPECT_EQ(m.GetParameterByID(nullptr), nullptr);
  EXPECT_EQ(m.GetParameterByID("3"), nullptr);
  EXPECT_EQ(m.GetParameterIndex("2"), 2);
  EXPECT_EQ(m.GetParameterIndex(nullptr), -1);
  EXPECT_EQ(m.GetParameterIndex("Master"), -1);
  EXPECT_EQ(cm.GetParameter(0), a);
  EXPECT_EQ(m.GetParameter(-1), nullptr);
  EXPECT_EQ(m.GetParameter(3), nullptr);
  EXPECT_EQ(cm.GetParameterByName("Same"), b);
  EXPECT_EQ(m.GetParameterByName("same"), nullptr);

  m.RemoveParameter(b);
  EXPECT_EQ(m.GetParameterIndex("2"), 1);
  EXPECT_EQ(m.GetParameterByID("1"), nullptr);
  EXPECT_EQ(m.GetParameterByName("Same"), c);
  m.RemoveParameterByID("unknown");
  m.RemoveParameter(nullptr);
  EXPECT_EQ(m.NumParameters(), 2);
  m.RemoveAllParameters();
  EXPECT_EQ(m.NumParameters(), 0);
  EXPECT_EQ(m.GetParameterByID("2"), nullptr);
}

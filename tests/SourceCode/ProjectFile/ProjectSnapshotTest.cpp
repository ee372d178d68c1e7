// The snapshot that tells whether a project changed since it was opened, loaded or saved: a change
// anywhere counts, a project that reads back the same does not, and a project whose file text
// cannot be made counts as changed.
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "CommonFiles/ProjectSnapshot.h"
#include "Platform/XmlFile.h"
#include "SampleProject.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <string>

namespace {

void Fill(CProjectData& project)
{
    FillSampleProject(project, 4711, 12, 3, 2, 4);
}

TEST(ProjectSnapshotTest, ChangeInAnyPartIsTold)
{
    const struct {
        const char* name;
        void (*change)(CProjectData&);
    } changes[] = {
        {"fluid name", [](CProjectData& p) { p.physical.Fluid->Name += "x"; }},
        {"fluid removed", [](CProjectData& p) { p.physical.Fluid.reset(); }},
        {"temperature", [](CProjectData& p) { p.physical.Temperature.Value += 0.001; }},
        {"pressure reference", [](CProjectData& p) { p.physical.Pressure.Reference ^= 1; }},
        {"norm condition", [](CProjectData& p) { p.physical.NormFlowConditions.Name += "x"; }},
        {"feature added", [](CProjectData& p) { p.features.SetAt(99, 1); }},
        {"features removed", [](CProjectData& p) { p.features.RemoveAll(); }},
        {"customer text", [](CProjectData& p) { p.customer.tag_no += "-2"; }},
        {"order position", [](CProjectData& p) { p.customer.pos += 1; }},
        {"results removed", [](CProjectData& p) { p.results.RemoveAll(); }},
        {"result point", [](CProjectData& p) { p.results.GetAt(1).Points[2][1] += 1.0; }},
        {"result warning", [](CProjectData& p) { p.results.GetAt(0).AddWarning(9); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        CProjectData project;
        Fill(project);
        CProjectSnapshot snapshot;
        snapshot.Take(project);
        EXPECT_FALSE(snapshot.Differs(project));
        c.change(project);
        EXPECT_TRUE(snapshot.Differs(project));
        // Taken again, the changed project is the unchanged one.
        snapshot.Take(project);
        EXPECT_FALSE(snapshot.Differs(project));
    }
}

// What counts is the content, not the object: the project read back from its own file is
// unchanged against a snapshot of the one that was written.
TEST(ProjectSnapshotTest, ProjectReadBackFromItsFileIsUnchanged)
{
    CProjectData written;
    Fill(written);
    CProjectSnapshot snapshot;
    snapshot.Take(written);
    TiXmlDocument doc;
    ASSERT_EQ(CProjectFile::Write(written, doc), nullptr);
    TiXmlDocument again;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(again, CXmlFile::ToText(doc), "project.xml", &error)) << error;
    CProjectData read;
    ASSERT_EQ(CProjectFile::Read(again, read).error, nullptr);
    EXPECT_FALSE(snapshot.Differs(read));
}

// Unable to tell is no reason to lose a project unasked.
TEST(ProjectSnapshotTest, WithoutATextTheProjectCountsAsChanged)
{
    CProjectData project;
    Fill(project);
    CProjectSnapshot none;
    EXPECT_TRUE(none.Differs(project));

    CProjectSnapshot snapshot;
    snapshot.Take(project);
    project.physical.Flow.BaseValue = std::nan("");
    EXPECT_TRUE(snapshot.Differs(project));
    snapshot.Take(project);
    EXPECT_TRUE(snapshot.Differs(project));
}

}  // namespace

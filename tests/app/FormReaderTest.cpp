// Form descriptions: parsing, the class registry, references between components, handlers bound
// by name, the loaded notification, and ownership with notification.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "Reader.h"

namespace {

std::vector<std::string> journal;

// Records what the reader does with it.
class TProbe : public ui::TComponent {
public:
    explicit TProbe(ui::TComponent* owner) : ui::TComponent(owner) {}
    ~TProbe() override { journal.push_back("free " + Name()); }
    bool SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) override {
        if (name == "Peer") {
            reader.Reference(v, [this](ui::TComponent* c) { peer = c; });
        } else if (name == "OnPing") {
            onPing = reader.Method<void(ui::TComponent*)>(v);
        } else if (name == "Tag") {
            tag = v.AsInt();
        } else if (name == "Any") {
            any = v;
        } else {
            return ui::TComponent::SetProperty(name, v, reader);
        }
        journal.push_back("set " + Name() + "." + name);
        return true;
    }
    void ReadChild(ui::TComponent* child) override { children.push_back(child); }
    void Loaded() override {
        ui::TComponent::Loaded();
        journal.push_back("loaded " + Name() + (peer ? " peer=" + peer->Name() : ""));
    }
    ui::TComponent* peer = nullptr;
    ui::TNotifyEvent onPing;
    int tag = 0;
    ui::Value any;
    std::vector<ui::TComponent*> children;
};

class TRoot : public TProbe {
public:
    explicit TRoot(ui::TComponent* owner) : TProbe(owner) {
        Publish("Ping", &TRoot::Ping);
        Publish("Close", &TRoot::CloseQuery);
    }
    void Ping(ui::TComponent* sender) { pinged.push_back(sender); }
    void CloseQuery(ui::TComponent*, bool& canClose) { canClose = false; }
    std::vector<ui::TComponent*> pinged;
};

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal.clear();
        ui::RegisterComponentClass<TProbe>("TProbe");
    }
};

TEST_F(FormReaderTest, ValuesOfEveryKind) {
    const ui::ObjectDesc d = ui::ParseDescription(R"(object R: TRoot
  A = 42
  B = -7
  C = $FF00FF
  D = 'it''s'#13#10'two' +
    ' lines'
  E = clBtnFace
  F = [akLeft, akTop]
  G = []
  H = ('one' 'two' 3)
  I = <
    item
      Caption = 'x'
      Width = 5
    end
    item
      Items = <>
    end>
  Font.Height = -11
  object Child: TProbe
    object Grandchild: TProbe
    end
  end
end)");
    EXPECT_EQ(d.name, "R");
    EXPECT_EQ(d.className, "TRoot");
    ASSERT_EQ(d.properties.size(), 10u);
    const auto& p = d.properties;
    EXPECT_EQ(p[0].second.number, 42);
    EXPECT_EQ(p[1].second.number, -7);
    EXPECT_EQ(p[2].second.number, 0xFF00FF);
    EXPECT_EQ(p[3].second.text, "it's\r\ntwo lines");
    EXPECT_EQ(p[4].second.kind, ui::Value::Ident);
    EXPECT_EQ(p[5].second.members, (std::vector<std::string>{"akLeft", "akTop"}));
    EXPECT_TRUE(p[6].second.members.empty());
    ASSERT_EQ(p[7].second.list.size(), 3u);
    EXPECT_EQ(p[7].second.list[1].text, "two");
    ASSERT_EQ(p[8].second.items.size(), 2u);
    EXPECT_EQ(p[8].second.items[0][1].second.number, 5);
    EXPECT_EQ(p[9].first, "Font.Height");
    ASSERT_EQ(d.children.size(), 1u);
    EXPECT_EQ(d.children[0].children[0].name, "Grandchild");
}

TEST_F(FormReaderTest, SyntaxErrorsNameTheirLine) {
    struct Case {
        const char* text;
        const char* line;
    } cases[] = {
        {"object R: TRoot\n  A = 'open\nend", "line 2"},
        {"object R: TRoot\n  A = 1\n  B 2\nend", "line 3"},
        {"object R TRoot\nend", "line 1"},
        {"object R: TRoot\n  A = 1\n", "line 3"},
        {"object R: TRoot\nend\nextra", "line 3"},
        {"object R: TRoot\n\n  A = 99999999999999\nend", "line 3"},
    };
    for (const auto& c : cases) {
        try {
            ui::ParseDescription(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ui::Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.line), std::string::npos) << e.what();
        }
    }
}

TEST_F(FormReaderTest, ReadsInStreamOrderThenResolvesThenNotifiesLoaded) {
    TRoot root(nullptr);
    ui::ReadComponentText(&root, R"(object R: TRoot
  Tag = 1
  object First: TProbe
    Peer = Second
    Tag = 2
    OnPing = Ping
  end
  object Second: TProbe
    Peer = nil
  end
end)");
    auto* first = ui::FindAs<TProbe>(root, "First");
    auto* second = ui::FindAs<TProbe>(root, "second");  // names ignore case
    EXPECT_EQ(first->Owner(), &root);
    EXPECT_EQ(root.children, (std::vector<ui::TComponent*>{first, second}));
    EXPECT_EQ(first->peer, second);
    EXPECT_EQ(journal, (std::vector<std::string>{"set R.Tag", "set First.Peer", "set First.Tag", "set First.OnPing",
                                                  "set Second.Peer", "loaded R", "loaded First peer=Second",
                                                  "loaded Second"}));
    EXPECT_FALSE(first->Loading());
    first->onPing(first);
    EXPECT_EQ(root.pinged, (std::vector<ui::TComponent*>{first}));
}

TEST_F(FormReaderTest, FaultsInADescriptionAreReported) {
    struct Case {
        const char* body;
        const char* says;
    } cases[] = {
        {"  object X: TNoSuchClass\n  end\n", "TNoSuchClass"},
        {"  Colour = 1\n", "no property Colour"},
        {"  object X: TProbe\n    Peer = Nobody\n  end\n", "Nobody"},
        {"  object X: TProbe\n    OnPing = Pong\n  end\n", "Pong"},
        {"  object X: TProbe\n    OnPing = Close\n  end\n", "does not fit"},
        {"  object X: TProbe\n    Tag = 'text'\n  end\n", "X.Tag"},
    };
    for (const auto& c : cases) {
        TRoot root(nullptr);
        try {
            ui::ReadComponentText(&root, std::string("object R: TRoot\n") + c.body + "end");
            ADD_FAILURE() << "accepted: " << c.body;
        } catch (const ui::Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST_F(FormReaderTest, OwnerFreesLastFirstAndReferencesAreCleared) {
    {
        TRoot root(nullptr);
        ui::ReadComponentText(&root, "object R: TRoot\n object A: TProbe\n end\n object B: TProbe\n end\nend");
        journal.clear();
    }
    // The owner's own destructor first, then its components, last created first.
    EXPECT_EQ(journal, (std::vector<std::string>{"free R", "free B", "free A"}));

    ui::TForm owner(nullptr);
    auto* images = new ui::TImageList(&owner);
    auto* list = new ui::TListView(&owner);
    list->SetSmallImages(images);
    EXPECT_EQ(list->SmallImages(), images);
    delete images;
    EXPECT_EQ(list->SmallImages(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(FormReaderTest, AlignmentLaysChildrenOutInOrder) {
    ui::TForm form(nullptr);
    ui::ReadComponentText(&form, R"(object F: TForm
  ClientWidth = 300
  ClientHeight = 200
  object Top1: TPanel
    Height = 20
    Align = alTop
  end
  object Bottom1: TPanel
    Height = 30
    Align = alBottom
  end
  object Left1: TPanel
    Width = 50
    Align = alLeft
  end
  object Split: TSplitter
    Width = 3
    Align = alLeft
  end
  object Rest: TPanel
    Align = alClient
  end
end)");
    form.HandleNeeded();
    struct Case {
        const char* name;
        int left, top, width, height;
    } cases[] = {{"Top1", 0, 0, 300, 20}, {"Bottom1", 0, 170, 300, 30}, {"Left1", 0, 20, 50, 150},
                 {"Split", 50, 20, 3, 150}, {"Rest", 53, 20, 247, 150}};
    for (const auto& c : cases) {
        auto* control = ui::FindAs<ui::TControl>(form, c.name);
        EXPECT_EQ(control->Left(), c.left) << c.name;
        EXPECT_EQ(control->Top(), c.top) << c.name;
        EXPECT_EQ(control->Width(), c.width) << c.name;
        EXPECT_EQ(control->Height(), c.height) << c.name;
    }
    // Dragging the splitter resizes its neighbour, and the rest follows.
    auto* split = ui::FindAs<ui::TSplitter>(form, "Split");
    EXPECT_EQ(split->Target(), ui::FindAs<ui::TControl>(form, "Left1"));
    EXPECT_EQ(split->MoveBy(25), 25);
    EXPECT_EQ(ui::FindAs<ui::TControl>(form, "Left1")->Width(), 75);
    EXPECT_EQ(ui::FindAs<ui::TControl>(form, "Rest")->Left(), 78);
    EXPECT_EQ(split->MoveBy(-100), -45);  // not below the smallest size
    EXPECT_EQ(ui::FindAs<ui::TControl>(form, "Left1")->Width(), 30);
}

}  // namespace

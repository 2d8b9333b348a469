#include "platform/core/component.h"
#include "platform/core/exception.h"

#include <gtest/gtest.h>

namespace {

// Records the components it was told about.
class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TComponent*> removed;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == TOperation::opRemove)
            removed.push_back(component);
        TComponent::Notification(component, operation);
    }
};

class Counted : public TComponent {
public:
    Counted(TComponent* owner, std::vector<QString>& log) : TComponent(owner), log_(log) {}
    ~Counted() override { log_.push_back(Name()); }

private:
    std::vector<QString>& log_;
};

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirst) {
    std::vector<QString> freed;
    auto* root = new TComponent;
    for (const char* name : {"A", "B", "C"})
        (new Counted(root, freed))->SetName(name);
    EXPECT_EQ(root->ComponentCount(), 3);
    delete root;
    EXPECT_EQ(freed, (std::vector<QString>{"C", "B", "A"}));
}

TEST(Component, FreeingAnOwnedComponentLeavesTheOwnersList) {
    TComponent root;
    auto* a = new TComponent(&root);
    a->SetName("A");
    auto* b = new TComponent(&root);
    b->SetName("B");
    delete a;
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Components(0), b);
    EXPECT_EQ(root.FindComponent(u"A"), nullptr);
}

TEST(Component, LookupByNameIgnoresCase) {
    TComponent root;
    auto* query = new TComponent(&root);
    query->SetName("QBorrar");
    EXPECT_EQ(root.FindComponent(u"qborrar"), query);
    EXPECT_EQ(root.FindComponent(u"QBORRAR"), query);
    EXPECT_EQ(root.FindComponent(u"Other"), nullptr);
    EXPECT_EQ(root.FindComponent(u""), nullptr);
}

TEST(Component, TwoComponentsOfOneOwnerCannotShareAName) {
    TComponent root;
    (new TComponent(&root))->SetName("Cia");
    auto* other = new TComponent(&root);
    EXPECT_THROW(other->SetName("CIA"), Exception);
    EXPECT_TRUE(other->Name().isEmpty());
}

TEST(Component, FreeNotificationReachesComponentsOfOtherOwners) {
    TComponent module;
    TComponent window;
    auto* query = new TComponent(&module);
    auto* provider = new Watcher(&window);
    provider->FreeNotification(query);
    delete query;
    ASSERT_EQ(provider->removed.size(), 1u);
    EXPECT_EQ(provider->removed[0], query);
}

TEST(Component, AWatcherFreedFirstIsNotToldLater) {
    TComponent module;
    auto* query = new TComponent(&module);
    {
        TComponent window;
        auto* provider = new Watcher(&window);
        provider->FreeNotification(query);
    }
    delete query; // must not touch the freed watcher
    SUCCEED();
}

TEST(Component, SiblingsHearOfAnOwnedComponentsEnd) {
    TComponent window;
    auto* dataset = new TComponent(&window);
    auto* source = new Watcher(&window);
    delete dataset;
    ASSERT_EQ(source->removed.size(), 1u);
    EXPECT_EQ(source->removed[0], dataset);
}

} // namespace

#include "platform/formfile/form_reader.h"
#include "tests/support/raised.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A small component with one property of each kind the reader hands out.
class TSample : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TSample"); }
    void SetCaption(const QString& v) { caption = v; }
    void SetSize(int v) { size = v; }
    void SetOn(bool v) { on = v; }
    void SetLines(const QStringList& v) { lines = v; }
    void SetData(const QByteArray& v) { data = v; }
    void SetParentComponent(TComponent* p) override { parent = p; }
    void Loaded() override { loaded = true; }

    QString caption;
    int size = 0;
    bool on = false;
    QStringList lines;
    QByteArray data;
    TComponent* parent = nullptr;
    TComponent* link = nullptr;
    bool loaded = false;
    std::function<void(TComponent*)> OnPing;
};

class TSampleRoot : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TSampleRoot"); }
};

void RegisterSamples() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterAbstractClass<TSampleRoot>("TSampleRoot", "");
    RegisterClass<TSample>("TSample", "")
        .Property("Caption", &TSample::SetCaption)
        .Property("Size", &TSample::SetSize)
        .Property("On", &TSample::SetOn)
        .Property("Lines", &TSample::SetLines)
        .Property("Data", &TSample::SetData)
        .Raw("Link",
             [](TSample& s, const FormValue& v, TComponent& root) {
                 TReferenceResolver::Request(s, root, FormValues::Identifier(v),
                                             [&s](TComponent* c) { s.link = c; });
             })
        .Event<std::function<void(TComponent*)>>("OnPing", &TSample::OnPing);
}

class FormReader : public testing::Test {
protected:
    void SetUp() override { RegisterSamples(); }
    THandlerTable handlers;
};

TEST_F(FormReader, CreatesOwnedComponentsWithTheirProperties) {
    TSampleRoot root;
    int pings = 0;
    handlers.Add<std::function<void(TComponent*)>>("Ping", [&](TComponent*) { ++pings; });
    ReadComponentText(root, handlers, R"(TSampleRoot main
  TSample Outer
    Caption = "Compañía"
    Size = 7
    On = True
    Lines = lines
      "a=1"
    Data = bytes
      0001FF
    OnPing = Ping
    TSample Inner
      Link = Outer
)",
                      "sample.form");
    EXPECT_EQ(root.Name(), "main");
    ASSERT_EQ(root.ComponentCount(), 2);
    auto* outer = static_cast<TSample*>(root.FindComponent(u"Outer"));
    auto* inner = static_cast<TSample*>(root.FindComponent(u"Inner"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(outer->caption, QStringLiteral("Compañía"));
    EXPECT_EQ(outer->size, 7);
    EXPECT_TRUE(outer->on);
    EXPECT_EQ(outer->lines, QStringList{"a=1"});
    EXPECT_EQ(outer->data, QByteArray::fromHex("0001FF"));
    EXPECT_EQ(outer->parent, &root);
    EXPECT_EQ(inner->parent, outer); // nesting gives the parent, the root stays the owner
    EXPECT_EQ(inner->Owner(), &root);
    EXPECT_EQ(inner->link, outer);
    EXPECT_TRUE(outer->loaded && inner->loaded);
    ASSERT_TRUE(outer->OnPing);
    outer->OnPing(outer);
    EXPECT_EQ(pings, 1);
}

struct BadReading {
    const char* body;
    int line;
    const char* what;
};

// Names a case in test listings.
void PrintTo(const BadReading& c, std::ostream* os) {
    *os << c.what;
}

class FormReaderErrors : public FormReader, public testing::WithParamInterface<BadReading> {};

TEST_P(FormReaderErrors, NameFileAndLine) {
    TSampleRoot root;
    const QString text = QStringLiteral("TSampleRoot main\n") + QString::fromUtf8(GetParam().body);
    const auto e =
        Raised<EFormError>([&] { ReadComponentText(root, handlers, text, "broken.form"); });
    EXPECT_EQ(e.File(), "broken.form");
    EXPECT_EQ(e.Line(), GetParam().line) << e.what();
    EXPECT_TRUE(e.Message().contains(QString::fromUtf8(GetParam().what))) << e.what();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormReaderErrors,
    testing::Values(BadReading{"  TNoSuchClass X\n", 2, "Unknown class TNoSuchClass"},
                    BadReading{"  TSample X\n    Colour = 1\n", 3, "Unknown property Colour"},
                    BadReading{"  TSample X\n    Size = \"seven\"\n", 3, "Expected an integer"},
                    BadReading{"  TSample X\n    On = Maybe\n", 3, "True or False"},
                    BadReading{"  TSample X\n    OnPing = Nobody\n", 3, "Unknown handler Nobody"},
                    BadReading{"  TSample X\n    Link = Missing\n", 3, "Unknown component Missing"},
                    BadReading{"  TSample X\n  TSample x\n", 3, "already exists"}));

TEST_F(FormReader, TheRootClassMustMatch) {
    TSampleRoot root;
    EXPECT_THROW(ReadComponentText(root, handlers, "TSample main\n", "f.form"), EFormError);
}

TEST_F(FormReader, AReferenceToAModuleNotYetCreatedWaitsForIt) {
    TComponent application;
    TReferenceResolver::SetModuleRoot(&application);
    auto* window = new TSampleRoot(&application);
    ReadComponentText(*window, handlers, "TSampleRoot win\n  TSample P\n    Link = dm.Q\n",
                      "w.form");
    auto* provider = static_cast<TSample*>(window->FindComponent(u"P"));
    EXPECT_EQ(provider->link, nullptr);
    EXPECT_EQ(TReferenceResolver::PendingCount(), 1);

    auto* module = new TSampleRoot(&application);
    ReadComponentText(*module, handlers, "TSampleRoot dm\n  TSample Q\n", "dm.form");
    EXPECT_EQ(provider->link, module->FindComponent(u"Q"));
    EXPECT_EQ(TReferenceResolver::PendingCount(), 0);
    TReferenceResolver::SetModuleRoot(nullptr);
}

TEST_F(FormReader, AWaitingReferenceOfAFreedWindowIsDropped) {
    TComponent application;
    TReferenceResolver::SetModuleRoot(&application);
    auto* window = new TSampleRoot(&application);
    ReadComponentText(*window, handlers, "TSampleRoot win\n  TSample P\n    Link = dm.Q\n",
                      "w.form");
    delete window;
    EXPECT_EQ(TReferenceResolver::PendingCount(), 0);
    TReferenceResolver::SetModuleRoot(nullptr);
}

TEST_F(FormReader, AMissingFileIsAClearError) {
    TSampleRoot root;
    EXPECT_TRUE(
        Raised<EFormError>([&] { ReadComponentResource(root, handlers, "/nonexistent/x.form"); })
            .Message()
            .contains("x.form"));
}

} // namespace

// Declared fields bound by name, local indexes, and what data links hear,
// on a client dataset fed from the real server.

#include "cds_fixture.h"
#include "data/dataset/client/register_client_classes.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/fields/field_datalink.h"
#include "data/dataset/fields/integer_fields.h"
#include "data/dataset/fields/string_field.h"
#include "data/dataset/sql/register_sql_classes.h"
#include "platform/formfile/form_reader.h"
#include "tests/support/dataset_walk.h"

#include <functional>

// ---- Declared fields ---------------------------------------------------------------

TEST_F(CdsTest, DeclaredFieldsAreBoundByName) {
    struct Case {
        const char* what;
        std::function<TField*(TComponent*)> make;
        const char* fieldName;
        int size;
        const char* error; // null: opens
        int sizeAfter;
    };
    const auto text = [](TComponent* o) -> TField* { return new TStringField(o); };
    const auto integer = [](TComponent* o) -> TField* { return new TIntegerField(o); };
    const auto smallint = [](TComponent* o) -> TField* { return new TSmallintField(o); };
    const auto blob = [](TComponent* o) -> TField* { return new TBlobField(o); };
    const Case cases[] = {
        {"missing column", text, "NO_ESTA", 20, "Field 'NO_ESTA' not found", 0},
        {"number for text", integer, "ARTI_DES", 0,
         "Type mismatch for field 'ARTI_DES', expecting: Integer actual: String", 0},
        {"text for number", text, "CATE_ID", 10,
         "Type mismatch for field 'CATE_ID', expecting: String actual: SmallInt", 0},
        {"blob for text", blob, "ARTI_COD", 0,
         "Type mismatch for field 'ARTI_COD', expecting: Blob actual: String", 0},
        {"narrower column", text, "arti_cod", 40, nullptr, 20},
        {"wider column", text, "ARTI_COD", 10, nullptr, 10},
        {"fixed text column", text, "ARTI_ACTIVO", 1, nullptr, 1},
        {"16-bit into 32-bit", integer, "CATE_ID", 0, nullptr, 0},
        {"16-bit", smallint, "SUCA_ID", 0, nullptr, 0},
        {"blob", blob, "ARTI_FOTO", 0, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TField* field = c.make(&root_);
        field->SetFieldName(QString::fromLatin1(c.fieldName));
        field->SetSize(c.size);
        field->SetDataSet(cds_);
        if (c.error) {
            EXPECT_EQ(DatabaseErrorOf([&] { cds_->Open(); }), QString::fromLatin1(c.error));
            EXPECT_FALSE(cds_->Active());
            EXPECT_FALSE(query_->Active()); // the provider was reset
        } else {
            cds_->Open();
            EXPECT_EQ(cds_->FieldCount(), 1); // only the declared field
            EXPECT_EQ(field->Size(), c.sizeAfter);
            EXPECT_FALSE(field->AsString().isEmpty() && c.sizeAfter > 0);
            cds_->Close();
        }
        delete field;
        EXPECT_EQ(cds_->FieldCount(), 0);
    }
}

TEST_F(CdsTest, FieldsMadeFromTheResultGoAtClose) {
    cds_->FetchParams();
    cds_->Open();
    ASSERT_EQ(cds_->FieldCount(), 7);
    EXPECT_TRUE(cds_->DefaultFields());
    const TField& cod = cds_->FieldByName(QStringLiteral("ARTI_COD"));
    EXPECT_EQ(cod.ClassName(), QStringLiteral("TStringField"));
    EXPECT_EQ(cod.Size(), 20);
    EXPECT_EQ(cod.DisplayWidth(), 20);
    EXPECT_EQ(cod.Alignment(), taLeftJustify);
    EXPECT_TRUE(cod.Required());
    const TField& cate = cds_->FieldByName(QStringLiteral("CATE_ID"));
    EXPECT_EQ(cate.ClassName(), QStringLiteral("TSmallintField"));
    EXPECT_EQ(cate.Alignment(), taRightJustify);
    EXPECT_EQ(cate.DisplayText(), QStringLiteral("3"));
    EXPECT_TRUE(cds_->FieldByName(QStringLiteral("ARTI_FOTO")).IsBlob());
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("ARTI_FOTO")).DisplayText(),
              QStringLiteral("(blob)"));
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("ARTI_ACTIVO")).DataType(), ftFixedChar);
    EXPECT_EQ(DatabaseErrorOf([&] { cds_->FieldByName(QStringLiteral("NADA")); }),
              QStringLiteral("Field 'NADA' not found"));
    cds_->Close();
    EXPECT_EQ(cds_->FieldCount(), 0);
}

TEST_F(CdsTest, DecimalsAreHeldExactlyAndShownWithoutTrailingZeros) {
    db_.Run(QStringLiteral("create table P (PRECIO decimal(15,2));"
                           "insert into P values (1234567890123.45);"
                           "insert into P values (1234.50);"));
    AllowCommandText();
    auto* precio = new TFMTBCDField(&root_);
    precio->SetFieldName(QStringLiteral("PRECIO"));
    precio->SetPrecision(15);
    precio->SetDataSet(cds_);
    cds_->SetCommandText(QStringLiteral("select PRECIO from P"));
    cds_->Open();
    EXPECT_EQ(precio->DisplayWidth(), 16);
    EXPECT_EQ(precio->AsBCD(), (TBcd{123456789012345, 2}));
    EXPECT_EQ(precio->DisplayText(), QStringLiteral("1234567890123.45"));
    cds_->Next();
    EXPECT_EQ(precio->DisplayText(), QStringLiteral("1234.5"));
    // Another record's value, read without moving, shows as that record would.
    EXPECT_EQ(precio->DisplayTextOf(cds_->FieldValueAt(*precio, 1)),
              QStringLiteral("1234567890123.45"));
    cds_->Edit();
    precio->SetAsString(QStringLiteral("0.125"));
    EXPECT_EQ(precio->AsBCD(), (TBcd{13, 2})); // rounded to the field's scale
}

TEST_F(CdsTest, AFormDescriptionDeclaresDatasetProviderFieldsAndSource) {
    RegisterSqlClasses();
    RegisterClientClasses();
    TComponent window;
    auto* query = new TSQLQuery(&window);
    query->SetName(QStringLiteral("QArticulos"));
    query->SetSQLConnection(conn_);
    ReadComponentText(window, {}, QStringLiteral(R"(TComponent factarticulos
  TDataSetProvider PArticulos
    DataSet = QArticulos
    Options = [poAllowCommandText]
    UpdateMode = upWhereAll
  TClientDataSet CArticulos
    ProviderName = "PArticulos"
    CommandText = "select * from ARTICULOS where ARTI_COD = :COD"
    PacketRecords = 1000
    Params = items
      item
        DataType = ftString
        Name = "COD"
        ParamType = ptInput
        Value = "02"
    TStringField CArticulosARTI_COD
      FieldName = "ARTI_COD"
      Required = True
      DisplayLabel = "Codigo"
      Size = 20
    TSmallintField CArticulosCATE_ID
      FieldName = "CATE_ID"
      DisplayWidth = 4
  TDataSource DArticulos
    DataSet = CArticulos
)"),
                      QStringLiteral("test.form"));
    auto* cds = ComponentAs<TClientDataSet>(window.FindComponent(u"CArticulos"));
    auto* provider = ComponentAs<TDataSetProvider>(window.FindComponent(u"PArticulos"));
    auto* source = ComponentAs<TDataSource>(window.FindComponent(u"DArticulos"));
    ASSERT_TRUE(cds && provider && source);
    EXPECT_EQ(provider->DataSet(), query);
    EXPECT_TRUE(provider->HasOption(poAllowCommandText));
    EXPECT_EQ(source->DataSet(), cds);
    EXPECT_EQ(cds->PacketRecords(), 1000);
    ASSERT_EQ(cds->FieldCount(), 2);
    cds->Open();
    EXPECT_EQ(cds->Fields(0)->DisplayName(), QStringLiteral("Codigo"));
    EXPECT_EQ(cds->Fields(0)->AsString(), QStringLiteral("02"));
    EXPECT_EQ(cds->Fields(1)->AsInteger(), 1);
    EXPECT_EQ(cds->Fields(1)->DisplayWidth(), 4);
    cds->Close();
}

// ---- Local indexes -----------------------------------------------------------------

class CdsIndexTest : public CdsTest {
protected:
    void SetUp() override {
        CdsTest::SetUp();
        db_.Run(QStringLiteral("create table K (ID integer, NOMBRE varchar(10), NUM integer);"
                               "insert into K values (1, 'b', 2);"
                               "insert into K values (2, 'a', 2);"
                               "insert into K values (3, 'c', 1);"
                               "insert into K values (4, 'a', 1);"
                               "insert into K values (5, 'B', null);"));
        AllowCommandText();
        cds_->SetPacketRecords(2);
        cds_->SetCommandText(QStringLiteral("select * from K order by ID"));
        cds_->Open();
    }
    // The IDs in the order the cursor walks, and as read without moving.
    QString Walk() { return ::Walk(*cds_, QStringLiteral("ID")); }
};

TEST_F(CdsIndexTest, IndexOrders) {
    struct Case {
        const char* fields;
        const char* desc;
        TIndexOptions options;
        const char* order;
    };
    const Case cases[] = {
        {"NOMBRE", "", 0, "5 2 4 1 3"},        // bytes: 'B' before 'a'; equal keys by arrival
        {"NUM;NOMBRE", "", 0, "5 4 3 2 1"},    // null first
        {"NUM;NOMBRE", "NUM", 0, "2 1 4 3 5"}, // descending: null last
        {"NUM", "", 1u << ixDescending, "1 2 3 4 5"},
        {"NUM", "", 0, "5 3 4 1 2"}, // equal keys keep the order of arrival
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        const QString name = QStringLiteral("I%1").arg(++n);
        cds_->AddIndex(name, QString::fromLatin1(c.fields), c.options, QString::fromLatin1(c.desc));
        cds_->SetIndexName(name);
        EXPECT_EQ(cds_->RecordCount(), 5); // selecting fetched every row
        EXPECT_EQ(cds_->RecNo(), 1);
        EXPECT_EQ(Walk(), QString::fromLatin1(c.order));
        EXPECT_EQ(cds_->IndexFieldNames().join(u';'), QString::fromLatin1(c.fields));
        EXPECT_EQ(cds_->IndexFieldCount(), cds_->IndexFieldNames().size());
        EXPECT_EQ(cds_->IndexFields(0), cds_->FindField(cds_->IndexFieldNames()[0]));
    }
    cds_->SetIndexName(QString());
    EXPECT_EQ(Walk(), QStringLiteral("1 2 3 4 5"));
    EXPECT_EQ(cds_->IndexFieldCount(), 0);
}

TEST_F(CdsIndexTest, DeletingTheCurrentIndexReturnsToArrivalAndBadFieldsAreRefused) {
    cds_->AddIndex(QStringLiteral("SortIndexEh"), QStringLiteral("NOMBRE"));
    cds_->SetIndexName(QStringLiteral("SortIndexEh"));
    cds_->DeleteIndex(QStringLiteral("SortIndexEh"));
    EXPECT_TRUE(cds_->IndexName().isEmpty());
    EXPECT_FALSE(cds_->HasIndex(QStringLiteral("SortIndexEh")));
    EXPECT_EQ(Walk(), QStringLiteral("1 2 3 4 5"));
    EXPECT_EQ(DatabaseErrorOf([&] {
                  cds_->AddIndex(QStringLiteral("X"), QStringLiteral("NOMBRE"), 0,
                                 QStringLiteral("NUM"));
              }),
              QStringLiteral("Cannot access index field 'NUM'"));
}

TEST_F(CdsIndexTest, RecordsPostedUnderAnIndexTakeTheirPlace) {
    cds_->AddIndex(QStringLiteral("N"), QStringLiteral("ID"), 1u << ixDescending);
    cds_->SetIndexName(QStringLiteral("N"));
    cds_->Append();
    cds_->FieldByName(QStringLiteral("ID")).SetAsInteger(3);
    cds_->Post();
    EXPECT_EQ(cds_->RecNo(), 4); // 5 4 3 3 2 1: after the other 3 (arrival)
    EXPECT_EQ(Walk(), QStringLiteral("5 4 3 3 2 1"));
}

// ---- Data links --------------------------------------------------------------------

namespace {

struct LinkLog {
    int dataChanges = 0;
    int editingChanges = 0;
    int updates = 0;
    int activeChanges = 0;
};

} // namespace

TEST_F(CdsTest, AFieldDataLinkFollowsRecordStateAndFieldAndWritesBackBeforePost) {
    AllowCommandText();
    cds_->SetCommandText(QStringLiteral("select * from ARTICULOS order by ARTI_COD"));
    TDataSource source(&root_);
    source.SetDataSet(cds_);
    TFieldDataLink link;
    LinkLog log;
    QStringList seen;
    link.OnDataChange = [&](TObject*) {
        ++log.dataChanges;
        seen << (link.Field() ? link.Field()->AsString() : QStringLiteral("-"));
    };
    link.OnEditingChange = [&](TObject*) { ++log.editingChanges; };
    link.OnActiveChange = [&](TObject*) { ++log.activeChanges; };
    link.OnUpdateData = [&](TObject*) {
        ++log.updates;
        link.Field()->SetAsString(QStringLiteral("Escrito"));
    };
    link.SetFieldName(QStringLiteral("ARTI_DES"));
    link.SetDataSource(&source);
    EXPECT_EQ(link.Field(), nullptr);

    cds_->Open();
    EXPECT_EQ(log.activeChanges, 1);
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(seen, QStringList({QStringLiteral("Uno")}));

    cds_->Next(); // record change
    EXPECT_EQ(seen.back(), QStringLiteral("Dos"));

    const int before = log.dataChanges;
    cds_->Edit(); // state change: editing
    EXPECT_TRUE(link.Editing());
    EXPECT_EQ(log.editingChanges, 1);
    cds_->FieldByName(QStringLiteral("ARTI_UNIDAD")).SetAsString(QStringLiteral("x"));
    const int afterOther = log.dataChanges;
    cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("Otra"));
    EXPECT_EQ(log.dataChanges, afterOther + 1); // its own field only
    EXPECT_GE(afterOther, before);

    // Not marked modified: post asks nothing.
    cds_->Post();
    EXPECT_EQ(log.updates, 0);
    EXPECT_FALSE(link.Editing());
    EXPECT_EQ(log.editingChanges, 2);

    // Marked modified: the control writes back before the record is stored.
    EXPECT_TRUE(link.Edit());
    link.Modified();
    cds_->Post();
    EXPECT_EQ(log.updates, 1);
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("ARTI_DES")).AsString(), QStringLiteral("Escrito"));
    EXPECT_FALSE(link.IsModified());

    // Disabled controls hear nothing until the one refresh at the end.
    const int quiet = log.dataChanges;
    cds_->DisableControls();
    cds_->First();
    cds_->Next();
    cds_->Next();
    EXPECT_EQ(log.dataChanges, quiet);
    cds_->EnableControls();
    EXPECT_EQ(log.dataChanges, quiet + 1);
    EXPECT_EQ(seen.back(), QStringLiteral("Tres"));

    cds_->Close(); // the field goes: one more data change without a field
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_EQ(seen.back(), QStringLiteral("-"));
    EXPECT_EQ(log.activeChanges, 2);
}

TEST(FieldDataLink, WithoutAFieldItKeepsItsOwnValue) {
    TFieldDataLink link;
    EXPECT_TRUE(link.Value().IsNull());
    link.SetValue(TValue(QStringLiteral("09:05:00")));
    EXPECT_EQ(link.Value(), TValue(QStringLiteral("09:05:00")));
    EXPECT_TRUE(link.CanModify());
    EXPECT_FALSE(link.Edit()); // no dataset to edit
}

TEST_F(CdsTest, ADataSourceGoingAwayLeavesItsLinksInactive) {
    AllowCommandText();
    cds_->SetCommandText(QStringLiteral("select * from ARTICULOS"));
    cds_->Open();
    TFieldDataLink link;
    link.SetFieldName(QStringLiteral("ARTI_COD"));
    {
        TDataSource source;
        source.SetDataSet(cds_);
        link.SetDataSource(&source);
        EXPECT_TRUE(link.Active());
        EXPECT_NE(link.Field(), nullptr);
    }
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
    cds_->Next(); // nothing dangles
}

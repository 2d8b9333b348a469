// The upload keeps the catalog's statements prepared for the run: however
// many articles it uploads, the server prepares each statement text once.

#include "data/dataset/sql/sqlconnection.h"
#include "data/driver/connection.h"
#include "tests/forms/upload_fixture.h"

namespace {

using UploadStatementReuse = UploadFixture;

TEST_F(UploadStatementReuse, EachStatementOfTheCatalogIsPreparedOncePerRun) {
    // Half the articles are in the catalog already (an update each), half are
    // new (an insert each); each writes the same columns as the others of its
    // kind, so the run sends one update text and one insert text.
    constexpr int kArticles = 12;
    for (int i = 0; i < kArticles; ++i) {
        const QString code = QStringLiteral("A%1").arg(i, 2, 10, QChar(u'0'));
        if (i % 2 == 0)
            catalog_.Db().Run(QStringLiteral("insert into ARTICULOS (ARTI_COD, ARTI_DES, "
                                             "ARTI_UNIDAD, CATE_ID, SUCA_ID, ARTI_ACTIVO) "
                                             "values ('%1', 'Antes', 'CJA', 9, 90, 'N');")
                                  .arg(code));
        AddArticle({.code = code});
    }
    Login();
    Driver::Connection& catalog = fdmqb->Quelbo->DriverConnection();
    const quint64 before = catalog.StatementsPrepared();

    Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(catalog_.Db().Query("select count(*) from ARTICULOS where ARTI_DES = 'Artículo'"),
              (std::vector<QStringList>{{QString::number(kArticles)}}));
    // The lookup, the insert, the update and the company's stamp; an article
    // that prepared its lookup or its apply again would add one per article.
    EXPECT_LE(catalog.StatementsPrepared() - before, 4u);
}

} // namespace

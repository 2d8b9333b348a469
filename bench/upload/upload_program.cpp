#include "bench/upload/upload_program.h"

#include "bench/upload/heap_peak.h"
#include "bench/upload/upload_setup.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/actarticulos.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "tests/forms/program_windows.h"

#include <QElapsedTimer>
#include <stdexcept>

RunTimes ProgramUpload(UploadSetup& setup, StepClock& steps) {
    TRecordingAnswerer boxes;
    Application->CreateForm(faccesoqb);
    Application->CreateForm(fdmqb);
    fdmqb->Dorvan->SetParamValue(QStringLiteral("Database"), setup.Erp().Database());
    faccesoqb->Tusua->SetText(TestDatabase::User());
    faccesoqb->TClave->SetText(TestDatabase::Password());
    faccesoqb->Cia->SetText(QStringLiteral("1"));
    faccesoqb->CiaExit(faccesoqb);

    RunTimes times;
    QElapsedTimer clock;
    qint64 last = 0;
    factarticulos = new Tfactarticulos(faccesoqb);
    factarticulos->CArticulos->AfterOpen = [&](TDataSet*) {
        last = clock.nsecsElapsed();
        steps.Enter(UploadStep::Lookup);
    };
    factarticulos->CArticulos->AfterScroll = [&](TDataSet* articles) {
        const qint64 now = clock.nsecsElapsed();
        times.perArticle.push_back(double(now - last) * 1e-9);
        last = now;
        steps.Enter(articles->Eof() ? UploadStep::Stamp : UploadStep::Lookup);
    };
    factarticulos->Carticuloqb->AfterPost = [&](TDataSet*) { steps.Enter(UploadStep::Apply); };
    // The apply ends with the article's rows changed (the change log merged):
    // what follows is the photograph.
    TDataSource applied;
    applied.SetDataSet(factarticulos->Carticuloqb);
    applied.OnDataChange = [&](TObject*, TField* field) {
        if (!field && steps.Current() == UploadStep::Apply)
            steps.Enter(UploadStep::Photo);
    };
    HeapPeak::Mark();
    Application->OnModalShown = [&](TForm* form) {
        times.total = double(clock.nsecsElapsed()) * 1e-9;
        times.peakHeapBytes = HeapPeak::PeakSinceMark();
        steps.Stop();
        times.stepSeconds = steps.Seconds();
        form->Close();
    };
    clock.start();
    steps.Start();
    factarticulos->ShowModal();

    Application->OnModalShown = nullptr;
    applied.SetDataSet(nullptr);
    DestroyProgramWindows();

    if (!boxes.boxes.empty())
        throw std::runtime_error("the run showed: " + boxes.boxes[0].text.toStdString());
    if (int(times.perArticle.size()) != setup.Articles() || setup.PhotoFiles() != setup.Articles())
        throw std::runtime_error("the run did not upload every article");
    return times;
}

#include "main_window.h"

#include "document_catalog.h"
#include "open_document.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(classlib::TComponent* owner) : TForm(owner, "TForm1", Handlers()) {
    EnsureDocumentFolder();
}

const classlib::THandlerTable& TForm1::Handlers() {
    using Method = classlib::TFormMethod;
    static const classlib::THandlerTable handlers = {
        {"Button1Click", static_cast<Method>(&TForm1::Button1Click)},
        {"Button2Click", static_cast<Method>(&TForm1::Button2Click)},
        {"Button3Click", static_cast<Method>(&TForm1::Button3Click)},
        {"Button4Click", static_cast<Method>(&TForm1::Button4Click)},
        {"Button5Click", static_cast<Method>(&TForm1::Button5Click)},
        {"Button6Click", static_cast<Method>(&TForm1::Button6Click)},
        {"Button7Click", static_cast<Method>(&TForm1::Button7Click)},
        {"Button8Click", static_cast<Method>(&TForm1::Button8Click)},
        {"Button9Click", static_cast<Method>(&TForm1::Button9Click)},
        {"Button10Click", static_cast<Method>(&TForm1::Button10Click)},
        {"Button11Click", static_cast<Method>(&TForm1::Button11Click)},
        {"Button12Click", static_cast<Method>(&TForm1::Button12Click)},
        {"Button13Click", static_cast<Method>(&TForm1::Button13Click)},
        {"Button14Click", static_cast<Method>(&TForm1::Button14Click)},
        {"Button15Click", static_cast<Method>(&TForm1::Button15Click)},
        {"Button16Click", static_cast<Method>(&TForm1::Button16Click)},
        {"Button17Click", static_cast<Method>(&TForm1::Button17Click)},
        {"Button21Click", static_cast<Method>(&TForm1::Button21Click)},
        {"Button38Click", static_cast<Method>(&TForm1::Button38Click)},
        {"Button39Click", static_cast<Method>(&TForm1::Button39Click)},
        {"Button71Click", static_cast<Method>(&TForm1::Button71Click)},
    };
    return handlers;
}

void TForm1::OpenDocumentOf(std::string_view buttonName) {
    OpenDocument(CatalogEntryForButton(buttonName), *this);
}

void TForm1::Button1Click(classlib::TComponent*) {
    OpenDocumentOf("Button1");
}
void TForm1::Button2Click(classlib::TComponent*) {
    OpenDocumentOf("Button2");
}
void TForm1::Button3Click(classlib::TComponent*) {
    OpenDocumentOf("Button3");
}
void TForm1::Button4Click(classlib::TComponent*) {
    OpenDocumentOf("Button4");
}
void TForm1::Button5Click(classlib::TComponent*) {
    OpenDocumentOf("Button5");
}
void TForm1::Button6Click(classlib::TComponent*) {
    OpenDocumentOf("Button6");
}
void TForm1::Button7Click(classlib::TComponent*) {
    OpenDocumentOf("Button7");
}
void TForm1::Button8Click(classlib::TComponent*) {
    OpenDocumentOf("Button8");
}
void TForm1::Button9Click(classlib::TComponent*) {
    OpenDocumentOf("Button9");
}
void TForm1::Button10Click(classlib::TComponent*) {
    OpenDocumentOf("Button10");
}
void TForm1::Button11Click(classlib::TComponent*) {
    OpenDocumentOf("Button11");
}
void TForm1::Button12Click(classlib::TComponent*) {
    OpenDocumentOf("Button12");
}
void TForm1::Button13Click(classlib::TComponent*) {
    OpenDocumentOf("Button13");
}
void TForm1::Button14Click(classlib::TComponent*) {
    OpenDocumentOf("Button14");
}
void TForm1::Button15Click(classlib::TComponent*) {
    OpenDocumentOf("Button15");
}
void TForm1::Button16Click(classlib::TComponent*) {
    OpenDocumentOf("Button16");
}
void TForm1::Button17Click(classlib::TComponent*) {
    OpenDocumentOf("Button17");
}
void TForm1::Button21Click(classlib::TComponent*) {
    OpenDocumentOf("Button21");
}
void TForm1::Button38Click(classlib::TComponent*) {
    OpenDocumentOf("Button38");
}
void TForm1::Button39Click(classlib::TComponent*) {
    OpenDocumentOf("Button39");
}
void TForm1::Button71Click(classlib::TComponent*) {
    OpenDocumentOf("Button71");
}

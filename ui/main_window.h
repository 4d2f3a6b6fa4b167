#pragma once
// The main window: two tabs of document buttons and the cover picture, all laid out by the
// window's layout resource. Each button's handler opens its own catalogue entry.
#include "comctrls.h"
#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"

#include <string_view>

class TForm1 : public classlib::TForm {
public:
    explicit TForm1(classlib::TComponent* owner);

    // The components the layout creates, found by name once it is read.
    classlib::TPageControl* const PageControl1 = Find<classlib::TPageControl>("PageControl1");
    classlib::TTabSheet* const TabSheet1 = Find<classlib::TTabSheet>("TabSheet1");
    classlib::TTabSheet* const TabSheet2 = Find<classlib::TTabSheet>("TabSheet2");
    classlib::TImage* const Image1 = Find<classlib::TImage>("Image1");
    classlib::TImage* const Image2 = Find<classlib::TImage>("Image2");
    classlib::TButton* const Button1 = Find<classlib::TButton>("Button1");
    classlib::TButton* const Button2 = Find<classlib::TButton>("Button2");
    classlib::TButton* const Button3 = Find<classlib::TButton>("Button3");
    classlib::TButton* const Button4 = Find<classlib::TButton>("Button4");
    classlib::TButton* const Button5 = Find<classlib::TButton>("Button5");
    classlib::TButton* const Button6 = Find<classlib::TButton>("Button6");
    classlib::TButton* const Button7 = Find<classlib::TButton>("Button7");
    classlib::TButton* const Button8 = Find<classlib::TButton>("Button8");
    classlib::TButton* const Button9 = Find<classlib::TButton>("Button9");
    classlib::TButton* const Button10 = Find<classlib::TButton>("Button10");
    classlib::TButton* const Button11 = Find<classlib::TButton>("Button11");
    classlib::TButton* const Button12 = Find<classlib::TButton>("Button12");
    classlib::TButton* const Button13 = Find<classlib::TButton>("Button13");
    classlib::TButton* const Button14 = Find<classlib::TButton>("Button14");
    classlib::TButton* const Button15 = Find<classlib::TButton>("Button15");
    classlib::TButton* const Button16 = Find<classlib::TButton>("Button16");
    classlib::TButton* const Button17 = Find<classlib::TButton>("Button17");
    classlib::TButton* const Button21 = Find<classlib::TButton>("Button21");
    classlib::TButton* const Button38 = Find<classlib::TButton>("Button38");
    classlib::TButton* const Button39 = Find<classlib::TButton>("Button39");
    classlib::TButton* const Button71 = Find<classlib::TButton>("Button71");

    void Button1Click(classlib::TComponent* sender);
    void Button2Click(classlib::TComponent* sender);
    void Button3Click(classlib::TComponent* sender);
    void Button4Click(classlib::TComponent* sender);
    void Button5Click(classlib::TComponent* sender);
    void Button6Click(classlib::TComponent* sender);
    void Button7Click(classlib::TComponent* sender);
    void Button8Click(classlib::TComponent* sender);
    void Button9Click(classlib::TComponent* sender);
    void Button10Click(classlib::TComponent* sender);
    void Button11Click(classlib::TComponent* sender);
    void Button12Click(classlib::TComponent* sender);
    void Button13Click(classlib::TComponent* sender);
    void Button14Click(classlib::TComponent* sender);
    void Button15Click(classlib::TComponent* sender);
    void Button16Click(classlib::TComponent* sender);
    void Button17Click(classlib::TComponent* sender);
    void Button21Click(classlib::TComponent* sender);
    void Button38Click(classlib::TComponent* sender);
    void Button39Click(classlib::TComponent* sender);
    void Button71Click(classlib::TComponent* sender);

private:
    static const classlib::THandlerTable& Handlers();
    void OpenDocumentOf(std::string_view buttonName);
};

extern TForm1* Form1;

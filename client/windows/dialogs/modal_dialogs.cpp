#include "client/windows/dialogs/modal_dialogs.h"

int RunModalDialog(UiToolkit::CModalDialog* dialog, HWND owner, const wchar_t* title) {
    if (!dialog->Create(owner, title, kModalDialogStyle, 0, 0, 0, 0, 0)) {
        delete dialog;
        return -1;
    }
    dialog->CenterOnOwner();
    int result = dialog->RunModal();
    if (dialog->GetHWND()) ::DestroyWindow(dialog->GetHWND());
    delete dialog;
    return result;
}

UiToolkit::CUiString TipMessageMarkup(const wchar_t* text) {
    UiToolkit::CUiString markup = L"<i default\\main\\tip.png> ";
    markup += text ? text : L"";
    return markup;
}

void ShowTipMessage(UiToolkit::CButtonUI* tip, const UiToolkit::CUiString& markup) {
    tip->SetShowHtml(true);
    tip->SetText(markup);
    tip->SetEnabled(false);
    tip->SetDisabledTextColor(0xFF000000);
    tip->Invalidate();
}

#ifndef VALO_APP_GTK_BRANDING_H_
#define VALO_APP_GTK_BRANDING_H_

namespace valo::gtk {

// The product as the user sees it. The version is the protocol version "1.3".
inline constexpr char kDisplayName[] = "VALO 憑證管理程式";
// The main window's caption, also the caption of the program's message boxes.
inline constexpr char kProgramCaption[] = "VALO 憑證管理程式 V 1.3";
// The caption of the agreement dialog: the certificate authority's name ("憑證管理中心")
// followed by the dialog's own words.
inline constexpr char kAgreementCaption[] = "憑證管理中心用戶約定條款";

inline constexpr char kAboutCaption[] = "關於 VALO";
inline constexpr char kAboutMenuItem[] = "關於 VALO(_A)...";
inline constexpr char kProgressCaption[] = "處理進度";
inline constexpr char kProgressInitialText[] = "執行中 ...";

// Button labels of the message boxes and dialogs.
inline constexpr char kOkLabel[] = "確定";
inline constexpr char kCancelLabel[] = "取消";

// The name the program reports to a WebDriver client.
inline constexpr char kAutomationName[] = "VALO";

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_BRANDING_H_

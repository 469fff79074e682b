#pragma once
// Stands in for Qt Quick's qqmlintegration.h where Qt Quick's development
// files are not installed: Qt's text-to-speech header includes it only for
// QML registration markers, which are class information for moc and mean
// nothing to the compiler. Used only when the real header is missing.
#ifndef QML_ELEMENT
#define QML_ELEMENT
#endif
#ifndef QML_NAMED_ELEMENT
#define QML_NAMED_ELEMENT(NAME)
#endif
#ifndef QML_UNCREATABLE
#define QML_UNCREATABLE(REASON)
#endif
#ifndef QML_SINGLETON
#define QML_SINGLETON
#endif
#ifndef QML_ANONYMOUS
#define QML_ANONYMOUS
#endif
#ifndef QML_FOREIGN
#define QML_FOREIGN(FOREIGN_TYPE)
#endif
#ifndef QML_VALUE_TYPE
#define QML_VALUE_TYPE(NAME)
#endif

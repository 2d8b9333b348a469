#include "controls/dbimage/picture_layout.h"

QRect PictureRect(QSize client, QSize picture, bool shrinkToFit, bool zoomToFit, bool center) {
    const qint64 cw = client.width(), ch = client.height();
    const qint64 pw = picture.width(), ph = picture.height();
    const bool fit = (shrinkToFit && (ph > ch || pw > cw)) || (zoomToFit && (ph < ch || pw < cw));
    if (fit) {
        if (pw <= 0 || ph <= 0)
            return QRect(0, 0, int(cw), int(ch));
        if (pw * ch > ph * cw) { // the width's ratio is the larger: use the full width
            const qint64 h = cw * ph / pw;
            return QRect(0, int((ch - h) / 2), int(cw), int(h));
        }
        const qint64 w = ch * pw / ph;
        return QRect(int((cw - w) / 2), 0, int(w), int(ch));
    }
    if (!center)
        return QRect(0, 0, int(pw), int(ph));
    return QRect(int((cw - pw) / 2), int((ch - ph) / 2), int(pw), int(ph));
}

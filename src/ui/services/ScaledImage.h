#pragma once

#include <QPixmap>
#include <QWidget>

namespace srk {

// Shows a picture file as large as the display allows, keeping its aspect ratio, centred. A file
// that is missing or no picture leaves the display empty.
class ScaledImage : public QWidget {
    Q_OBJECT
public:
    explicit ScaledImage(QWidget* parent = nullptr);

    void showFile(const QString& fileName);
    bool hasImage() const { return !m_image.isNull(); }
    QSize imageSize() const { return m_image.size(); }
    // Where the picture is drawn in the display now.
    QRect shownRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
};

}  // namespace srk

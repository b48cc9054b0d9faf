#pragma once
// The tool bar's images, addressed by index like an image list: 0 connect (idle), 1 connect
// (connected), 2 disconnect (connected), 3 disconnect (idle); 4 port properties, 5 write all.
#include <QIcon>
#include <QToolButton>
#include <vector>

class TImageList {
  public:
    TImageList();
    const QIcon& icon(int index) const { return icons_.at(static_cast<std::size_t>(index)); }

    // A tool button remembers the index of the image it shows; the link state is read from it.
    static int imageIndex(const QToolButton* button);
    void setImageIndex(QToolButton* button, int index) const;

  private:
    std::vector<QIcon> icons_;
};

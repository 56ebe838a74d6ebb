#include "app/MainFrmArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {
// Every picture is drawn on a 32 x 32 grid and rendered at twice that size.
constexpr int kGrid = 32;
constexpr int kScale = 2;

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kPaper(0xfb, 0xfb, 0xf6);
const QColor kGreen(0x3c, 0x9a, 0x5a);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kGold(0xe8, 0xb3, 0x2c);
const QColor kRed(0xc8, 0x3c, 0x32);

QPen inkPen(qreal w = 1.4) { return QPen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void sheet(QPainter& p, const QRectF& r) {
  p.setPen(inkPen());
  p.setBrush(kPaper);
  p.drawRoundedRect(r, 1.5, 1.5);
}

void lines(QPainter& p, qreal x1, qreal x2, qreal y, int n, qreal step, const QColor& c) {
  p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < n; ++i) p.drawLine(QPointF(x1, y + i * step), QPointF(x2, y + i * step));
}

void coin(QPainter& p, QPointF c, qreal r) {
  QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.4);
  g.setColorAt(0, kGold.lighter(140));
  g.setColorAt(1, kGold.darker(115));
  p.setPen(QPen(kGold.darker(160), 1.2));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  QFont f("DejaVu Sans");
  f.setPixelSize(qRound(r * 1.4));
  f.setBold(true);
  p.setFont(f);
  p.setPen(kGold.darker(200));
  p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QStringLiteral("\u00a5"));
}

void pencil(QPainter& p, QPointF tip, qreal len) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  QPainterPath body;
  body.moveTo(0, 0);
  body.lineTo(5, -2.6);
  body.lineTo(len, -2.6);
  body.lineTo(len, 2.6);
  body.lineTo(5, 2.6);
  body.closeSubpath();
  p.setPen(inkPen(1.1));
  p.setBrush(kGold);
  p.drawPath(body);
  p.setBrush(kRed);
  p.drawRect(QRectF(len - 3, -2.6, 3, 5.2));
  p.setBrush(kInk);
  QPainterPath lead;
  lead.moveTo(0, 0);
  lead.lineTo(2, -1);
  lead.lineTo(2, 1);
  lead.closeSubpath();
  p.drawPath(lead);
  p.restore();
}

void person(QPainter& p, QPointF head, qreal s, const QColor& c) {
  p.setPen(QPen(c.darker(150), 1.0));
  p.setBrush(c);
  p.drawEllipse(head, 3.2 * s, 3.2 * s);
  QPainterPath b;
  b.moveTo(head.x() - 6 * s, head.y() + 12 * s);
  b.cubicTo(head.x() - 6 * s, head.y() + 4 * s, head.x() + 6 * s, head.y() + 4 * s, head.x() + 6 * s,
            head.y() + 12 * s);
  b.closeSubpath();
  p.drawPath(b);
}

void gear(QPainter& p, QPointF c, qreal r, const QColor& col) {
  QPainterPath g;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    const qreal a0 = (i * M_PI) / teeth;
    const qreal a1 = ((i + 1) * M_PI) / teeth;
    const qreal rr = (i % 2 == 0) ? r : r * 0.78;
    const QPointF p0 = c + QPointF(rr * qCos(a0), rr * qSin(a0));
    const QPointF p1 = c + QPointF(rr * qCos(a1), rr * qSin(a1));
    if (i == 0) g.moveTo(p0); else g.lineTo(p0);
    g.lineTo(p1);
  }
  g.closeSubpath();
  g.addEllipse(c, r * 0.32, r * 0.32);
  g.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(col.darker(160), 1.0));
  p.setBrush(col);
  p.drawPath(g);
}

void arrow(QPainter& p, QPointF a, QPointF b, const QColor& c, qreal w = 2.0) {
  p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(a, b);
  const qreal ang = qAtan2(b.y() - a.y(), b.x() - a.x());
  const qreal h = 4.0;
  p.setBrush(c);
  QPolygonF head;
  head << b << b - QPointF(h * qCos(ang - 0.5), h * qSin(ang - 0.5))
       << b - QPointF(h * qCos(ang + 0.5), h * qSin(ang + 0.5));
  p.drawPolygon(head);
}

void drawPieceEntry(QPainter& p) {
  sheet(p, QRectF(5, 4, 19, 24));
  p.setPen(inkPen(1.2));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(10, 2.5, 9, 4), 1, 1);
  lines(p, 9, 20, 11, 4, 4, kBlue.lighter(130));
  pencil(p, QPointF(17, 27), 15);
}

void drawSalaryEntry(QPainter& p) {
  sheet(p, QRectF(4, 4, 20, 24));
  lines(p, 8, 20, 9, 3, 4, kGreen);
  coin(p, QPointF(22, 22), 7);
}

void drawPayslip(QPainter& p) {
  QPainterPath slip;
  slip.moveTo(3, 9);
  slip.lineTo(29, 9);
  slip.lineTo(29, 23);
  for (int i = 0; i < 6; ++i) {
    slip.lineTo(29 - i * 26.0 / 6 - 2.2, 21.5);
    slip.lineTo(29 - (i + 1) * 26.0 / 6, 23);
  }
  slip.closeSubpath();
  p.setPen(inkPen());
  p.setBrush(kPaper);
  p.drawPath(slip);
  p.setPen(QPen(kInk, 0.9, Qt::DashLine));
  p.drawLine(QPointF(10, 10), QPointF(10, 21));
  lines(p, 13, 26, 13, 3, 3.2, kBlue);
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawEllipse(QPointF(6.5, 15.5), 2, 2);
}

void drawPaySheet(QPainter& p) {
  sheet(p, QRectF(3, 5, 26, 22));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue.lighter(150));
  p.drawRect(QRectF(3.7, 5.7, 24.6, 4.5));
  p.setPen(QPen(kInk, 0.9));
  for (int i = 1; i < 4; ++i) p.drawLine(QPointF(3, 5 + i * 5.5), QPointF(29, 5 + i * 5.5));
  p.drawLine(QPointF(12, 5), QPointF(12, 27));
  p.drawLine(QPointF(21, 5), QPointF(21, 27));
  coin(p, QPointF(24, 23), 5.5);
}

void drawSummary(QPainter& p) {
  p.setPen(inkPen(1.6));
  p.drawLine(QPointF(4, 4), QPointF(4, 28));
  p.drawLine(QPointF(4, 28), QPointF(29, 28));
  const QColor cols[] = {kBlue, kGreen, kGold, kRed};
  const qreal hs[] = {9, 15, 12, 20};
  for (int i = 0; i < 4; ++i) {
    QLinearGradient g(0, 28 - hs[i], 0, 28);
    g.setColorAt(0, cols[i].lighter(130));
    g.setColorAt(1, cols[i].darker(110));
    p.setPen(QPen(cols[i].darker(150), 0.8));
    p.setBrush(g);
    p.drawRect(QRectF(7 + i * 5.5, 27 - hs[i], 4, hs[i]));
  }
}

void drawTrade(QPainter& p) {
  gear(p, QPointF(13, 13), 9.5, kBlue);
  gear(p, QPointF(23, 23), 6.5, kGreen);
}

void drawProcess(QPainter& p) {
  const QColor cs[] = {kBlue, kGreen, kGold};
  const QPointF at[] = {QPointF(3, 4), QPointF(18, 12), QPointF(3, 21)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(cs[i].darker(150), 1.0));
    p.setBrush(cs[i]);
    p.drawRoundedRect(QRectF(at[i], QSizeF(11, 7)), 2, 2);
  }
  arrow(p, QPointF(14, 8), QPointF(20.5, 11.5), kInk, 1.6);
  arrow(p, QPointF(20.5, 19.5), QPointF(14, 23.5), kInk, 1.6);
}

void drawRoster(QPainter& p) {
  p.setPen(inkPen());
  p.setBrush(kGreen.darker(110));
  p.drawRoundedRect(QRectF(5, 3, 22, 26), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(8, 5, 17, 22));
  person(p, QPointF(16.5, 11), 1.0, kBlue);
  lines(p, 11, 22, 24.5, 1, 0, kInk);
}

void drawRelogin(QPainter& p) {
  person(p, QPointF(12, 9), 1.15, kBlue);
  // A circling arrow around the key holder says "sign in again".
  p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(15, 15, 13, 13), 90 * 16, 270 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPolygonF head;
  head << QPointF(21.5, 12.5) << QPointF(25.5, 15.5) << QPointF(21.5, 18.5);
  p.drawPolygon(head);
}

void drawExit(QPainter& p) {
  p.setPen(inkPen());
  p.setBrush(QColor(0x9a, 0x6a, 0x3a));
  p.drawRect(QRectF(4, 3, 14, 26));
  p.setBrush(QColor(0xc0, 0x8a, 0x50));
  QPolygonF door;
  door << QPointF(4, 3) << QPointF(13, 6) << QPointF(13, 31) << QPointF(4, 29);
  p.drawPolygon(door);
  p.setBrush(kGold);
  p.drawEllipse(QPointF(11, 18), 1, 1);
  arrow(p, QPointF(17, 16), QPointF(29, 16), kRed, 2.6);
}

void drawBlank(QPainter& p) { sheet(p, QRectF(6, 4, 20, 24)); }
}  // namespace

namespace MainFrmArt {
QIcon toolIcon(int tag, const QString& name) {
  QPixmap pm(kGrid * kScale, kGrid * kScale);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(kScale, kScale);
  switch (tag) {
    case 1001: drawPieceEntry(p); break;
    case 1003: drawSalaryEntry(p); break;
    case 1301: drawPayslip(p); break;
    case 1303: drawPaySheet(p); break;
    case 1305: drawSummary(p); break;
    case 1503: drawTrade(p); break;
    case 1505: drawProcess(p); break;
    case 1515: drawRoster(p); break;
    default:
      if (name == QLatin1String("relogin")) drawRelogin(p);
      else if (name == QLatin1String("exit")) drawExit(p);
      else drawBlank(p);
  }
  p.end();
  return QIcon(pm);
}

QIcon appIcon() {
  QPixmap pm(kGrid * kScale, kGrid * kScale);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kScale, kScale);
  QLinearGradient g(0, 0, 0, kGrid);
  g.setColorAt(0, kGreen.lighter(130));
  g.setColorAt(1, kGreen.darker(120));
  p.setPen(QPen(kGreen.darker(160), 1));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QFont f(QStringLiteral("AR PL UMing CN"));
  f.setPixelSize(24);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, kGrid, kGrid), Qt::AlignCenter, QStringLiteral("禾"));
  p.end();
  return QIcon(pm);
}

QPixmap background() {
  const int w = 1600, h = 1000;
  QPixmap pm(w, h);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0.0, QColor(0xe6, 0xf3, 0xef));
  sky.setColorAt(0.55, QColor(0xc4, 0xe3, 0xd6));
  sky.setColorAt(1.0, QColor(0x7c, 0xb8, 0x96));
  p.fillRect(pm.rect(), sky);

  // Low rolling fields.
  const QColor fields[] = {QColor(0x9c, 0xcb, 0xa8), QColor(0x6f, 0xae, 0x84), QColor(0x4f, 0x93, 0x68)};
  for (int i = 0; i < 3; ++i) {
    QPainterPath hill;
    const qreal base = h * (0.70 + 0.09 * i);
    hill.moveTo(0, base);
    hill.cubicTo(w * 0.25, base - 70 + i * 15, w * 0.55, base + 60, w, base - 40 + i * 20);
    hill.lineTo(w, h);
    hill.lineTo(0, h);
    hill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(fields[i]);
    p.drawPath(hill);
  }

  // Ripe stalks bending to the right, the grain the program is named after.
  auto stalk = [&p](QPointF root, qreal height, qreal bend, qreal scale) {
    QPainterPath stem;
    const QPointF top = root + QPointF(bend, -height);
    stem.moveTo(root);
    stem.quadTo(root + QPointF(bend * 0.1, -height * 0.7), top);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4a, 0x7d, 0x3a), 3.0 * scale, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stem);
    QPainterPath leaf;
    const QPointF lr = root + QPointF(bend * 0.05, -height * 0.35);
    leaf.moveTo(lr);
    leaf.quadTo(lr + QPointF(-60 * scale, -40 * scale), lr + QPointF(-110 * scale, -20 * scale));
    leaf.quadTo(lr + QPointF(-55 * scale, -20 * scale), lr);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0x9a, 0x48));
    p.drawPath(leaf);
    for (int k = 0; k < 9; ++k) {
      const qreal t = k / 9.0;
      const QPointF c = top + QPointF(bend * 0.35 * t + 10 * scale * t, 12 * scale + 95 * scale * t * t);
      p.save();
      p.translate(c);
      p.rotate(25 + 40 * t);
      QRadialGradient g(QPointF(-3 * scale, -3 * scale), 14 * scale);
      g.setColorAt(0, QColor(0xf6, 0xdc, 0x7a));
      g.setColorAt(1, QColor(0xc9, 0x9a, 0x2e));
      p.setBrush(g);
      p.drawEllipse(QPointF(0, 0), 6.5 * scale, 12 * scale);
      p.restore();
    }
  };
  stalk(QPointF(w * 0.80, h * 0.92), 420, 120, 1.2);
  stalk(QPointF(w * 0.86, h * 0.95), 360, 140, 1.0);
  stalk(QPointF(w * 0.74, h * 0.96), 320, 100, 0.9);

  // The title, large and soft, in the upper left.
  QFont title(QStringLiteral("AR PL UMing CN"));
  title.setPixelSize(92);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(255, 255, 255, 170));
  p.drawText(QRectF(104, 204, w, 140), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("青禾工资管理系统"));
  p.setPen(QColor(0x2d, 0x6a, 0x4f, 210));
  p.drawText(QRectF(100, 200, w, 140), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("青禾工资管理系统"));
  QFont sub(QStringLiteral("AR PL UMing CN"));
  sub.setPixelSize(34);
  p.setFont(sub);
  p.setPen(QColor(0x3d, 0x7a, 0x5f, 200));
  p.drawText(QRectF(106, 330, w, 60), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("计件  ·  工资  ·  报表"));
  p.end();
  return pm;
}
}  // namespace MainFrmArt
